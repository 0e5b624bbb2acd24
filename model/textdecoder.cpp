#include "textdecoder.h"

#include <QTextCodec>

bool TextDecoder::isUtf8(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    const QString text =
        QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
    // A sequence cut short at the end is held back as remaining characters, not counted invalid.
    return state.invalidChars == 0 && state.remainingChars == 0;
}

QString TextDecoder::decode(const QByteArray &bytes, bool *legacy)
{
    const bool utf8 = isUtf8(bytes);
    if (legacy)
        *legacy = !utf8;
    return utf8 ? QString::fromUtf8(bytes) : fromGb18030(bytes);
}

QString TextDecoder::fromGb18030(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForName("GB18030");
    return codec ? codec->toUnicode(bytes) : QString::fromUtf8(bytes);
}
