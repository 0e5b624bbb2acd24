#ifndef TALDON_MODEL_FILTERNAME_H
#define TALDON_MODEL_FILTERNAME_H

#include <QString>

// The comparison methods of the task form, numbered as the entries of its method list.
enum class CompareMethod { None = 0, String = 1, Integer = 2, Float = 3, Custom = 4 };

// What the task form shows for a filter name: the method and its sub-choice. The entries are
// those of the form's lists (0 = the empty entry).
struct FilterChoice {
    CompareMethod method = CompareMethod::None;
    int stringEntry = 0; // 1 whole text, 2 several lines, 3 one line
    int numberEntry = 0; // 1 slsn, 2 slmn, 3 mlsn, 4 mlmn
    int precision = 0;   // 1 to 5; 0 when the name's precision character is not a digit
    QString customName;
};

// The filter name the engine runs for a choice; empty while the sub-choice is empty.
QString composeFilterName(const FilterChoice &choice);

// Reads a stored filter name back into the choice that composes it. A name the form cannot
// compose is a custom filter, shown by its name.
FilterChoice readFilterName(const QString &name);

// The floating point name with its precision character replaced by digit; any other name is
// returned unchanged.
QString withPrecision(const QString &name, const QString &digit);

#endif
