#ifndef TALDON_MODEL_TEXTDECODER_H
#define TALDON_MODEL_TEXTDECODER_H

#include <QByteArray>
#include <QString>

// Decodes the bytes of text files and names that may come from Chinese Windows machines: bytes
// that are valid UTF-8 are taken as UTF-8, anything else as GB18030 (a superset of GBK and
// GB2312). One decoder for player lists, sources shown to the organiser and FTP listings.
class TextDecoder
{
public:
    // Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
    static bool isUtf8(const QByteArray &bytes);

    // `bytes` as text: UTF-8 when isUtf8, else GB18030. *legacy, when given, tells which.
    static QString decode(const QByteArray &bytes, bool *legacy = nullptr);

    // `bytes` as GB18030, whatever they hold.
    static QString fromGb18030(const QByteArray &bytes);
};

#endif
