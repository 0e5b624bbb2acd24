#ifndef TALDON_MODEL_COMPILEOPTIONS_H
#define TALDON_MODEL_COMPILEOPTIONS_H

#include <QString>

// A compile command template is split at the first "%i " (the source file placeholder): the
// organiser edits only the options after it, so the compiler and its output stay as they are.
// A template without the placeholder is edited as a whole.

// The options of a template: the text after its first "%i ", or the whole template.
QString compileOptions(const QString &cmd);

// The template with its options replaced; a template without "%i " becomes options.
QString withCompileOptions(const QString &cmd, const QString &options);

#endif
