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

#endif
