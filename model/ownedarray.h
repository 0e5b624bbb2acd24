#ifndef TALDON_MODEL_OWNEDARRAY_H
#define TALDON_MODEL_OWNEDARRAY_H

#include <algorithm>

// Replaces an owned array of records by copies of the first n elements of list; n < 1 or a
// null list leaves it empty. list may point into the old array: the copies are made before
// the old array is deleted.
template <typename T> void replaceOwnedArray(T *&array, int &count, int n, const T *list)
{
    T *fresh = nullptr;
    if (n > 0 && list) {
        fresh = new T[n];
        std::copy(list, list + n, fresh);
    } else {
        n = 0;
    }
    delete[] array;
    array = fresh;
    count = n;
}

// Appends a copy of item to an owned array, which is rebuilt one longer.
template <typename T> void appendToOwnedArray(T *&array, int &count, const T &item)
{
    T *fresh = new T[count + 1];
    std::copy(array, array + count, fresh);
    fresh[count] = item;
    delete[] array;
    array = fresh;
    ++count;
}

// The first element of an owned array for which matches is true, or nullptr.
template <typename T, typename Pred> T *findInOwnedArray(T *array, int count, Pred matches)
{
    T *const end = array + count;
    T *const found = std::find_if(array, end, matches);
    return found == end ? nullptr : found;
}

// The element at a 0-based index of an owned array, or nullptr when index is out of range.
template <typename T> T *ownedArrayAt(T *array, int count, int index)
{
    return index >= 0 && index < count ? &array[index] : nullptr;
}

// Removes the element at index from an owned array, keeping the order of the others; an
// index out of range changes nothing.
template <typename T> void removeFromOwnedArray(T *&array, int &count, int index)
{
    if (index < 0 || index >= count)
        return;
    T *fresh = count > 1 ? new T[count - 1] : nullptr;
    std::copy(array, array + index, fresh);
    std::copy(array + index + 1, array + count, fresh + index);
    delete[] array;
    array = fresh;
    --count;
}

// Removes the first element for which matches is true; nothing when none is.
template <typename T, typename Pred>
void removeFirstFromOwnedArray(T *&array, int &count, Pred matches)
{
    const T *found = findInOwnedArray(array, count, matches);
    if (found)
        removeFromOwnedArray(array, count, static_cast<int>(found - array));
}

#endif
