#include "compileoptions.h"

namespace
{

const QLatin1String SourcePlaceholder("%i ");

} // namespace

QString compileOptions(const QString &cmd)
{
    const int at = cmd.indexOf(SourcePlaceholder);
    return at < 0 ? cmd : cmd.mid(at + SourcePlaceholder.size());
}

QString withCompileOptions(const QString &cmd, const QString &options)
{
    const int at = cmd.indexOf(SourcePlaceholder);
    return at < 0 ? options : cmd.left(at + SourcePlaceholder.size()) + options;
}
