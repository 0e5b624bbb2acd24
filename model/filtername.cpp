#include "filtername.h"

#include <QStringList>

namespace
{

const char *const StringNames[] = {"fulltext_e", "mlss_filterspace_e", "slss_filterspace_e"};
const char *const NumberPrefixes[] = {"slsn_", "slmn_", "mlsn_", "mlmn_"};
const int PrefixLength = 5;
const int PrecisionIndex = 11;
const int MaxPrecision = 5;
const QLatin1String IntSuffix("int_e");
const QLatin1String FloatStem("float_");

// 1 to 4 by the name's number prefix, 0 when it has none of them.
int numberEntryOf(const QString &name)
{
    for (int i = 0; i < 4; ++i) {
        if (name.startsWith(QLatin1String(NumberPrefixes[i])))
            return i + 1;
    }
    return 0;
}

int stringEntryOf(const QString &name)
{
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(StringNames[i]))
            return i + 1;
    }
    return 0;
}

bool isFloatName(const QString &name)
{
    return numberEntryOf(name) != 0 && name.size() == PrecisionIndex + 2 &&
           name.midRef(PrefixLength, FloatStem.size()) == FloatStem && name.endsWith('e');
}

} // namespace

QString composeFilterName(const FilterChoice &choice)
{
    const bool number = choice.numberEntry >= 1 && choice.numberEntry <= 4;
    switch (choice.method) {
    case CompareMethod::String:
        return choice.stringEntry >= 1 && choice.stringEntry <= 3
                   ? QLatin1String(StringNames[choice.stringEntry - 1])
                   : QString();
    case CompareMethod::Integer:
        return number ? QLatin1String(NumberPrefixes[choice.numberEntry - 1]) + IntSuffix
                      : QString();
    case CompareMethod::Float:
        return number ? QLatin1String(NumberPrefixes[choice.numberEntry - 1]) +
                            QStringLiteral("float_%1e").arg(choice.precision)
                      : QString();
    case CompareMethod::Custom:
        return choice.customName;
    case CompareMethod::None:
        break;
    }
    return QString();
}

FilterChoice readFilterName(const QString &name)
{
    FilterChoice choice;
    if (name.isEmpty())
        return choice;
    choice.stringEntry = stringEntryOf(name);
    const int numberEntry = numberEntryOf(name);
    if (choice.stringEntry != 0) {
        choice.method = CompareMethod::String;
    } else if (numberEntry != 0 && name.midRef(PrefixLength) == IntSuffix) {
        choice.method = CompareMethod::Integer;
        choice.numberEntry = numberEntry;
    } else if (isFloatName(name)) {
        choice.method = CompareMethod::Float;
        choice.numberEntry = numberEntry;
        const QChar digit = name.at(PrecisionIndex);
        if (digit >= '1' && digit <= '9')
            choice.precision = qMin(digit.digitValue(), MaxPrecision);
    } else {
        choice.method = CompareMethod::Custom;
        choice.customName = name;
    }
    return choice;
}

QString withPrecision(const QString &name, const QString &digit)
{
    if (!isFloatName(name) || digit.size() != 1)
        return name;
    QString result = name;
    result[PrecisionIndex] = digit.at(0);
    return result;
}
