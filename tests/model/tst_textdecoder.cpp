#include "textdecoder.h"

#include <QTest>

class TestTextDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestTextDecoder::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("legacy");

    QTest::newRow("ascii") << QByteArray("JS-01@Li") << QStringLiteral("JS-01@Li") << false;
    QTest::newRow("utf-8") << QByteArray("\xe5\xbc\xa0\xe4\xb8\x89") << QStringLiteral("张三")
                           << false;
    QTest::newRow("gbk") << QByteArray("\xd5\xc5\xc8\xfd.cpp") << QStringLiteral("张三.cpp")
                         << true;
    QTest::newRow("gbk that starts like utf-8")
        << QByteArray("\xc0\xee\xcb\xc4") << QStringLiteral("李四") << true;
    QTest::newRow("utf-8 cut short") << QByteArray("a\xe5\xbc") << QString() << true;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString() << true;
    QTest::newRow("empty") << QByteArray() << QStringLiteral("") << false;
}

void TestTextDecoder::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, legacy);

    bool wasLegacy = !legacy;
    const QString decoded = TextDecoder::decode(bytes, &wasLegacy);
    QCOMPARE(wasLegacy, legacy);
    QCOMPARE(TextDecoder::isUtf8(bytes), !legacy);
    // A null text: only which decoder was taken matters for the row.
    if (!text.isNull())
        QCOMPARE(decoded, text);
}

QTEST_APPLESS_MAIN(TestTextDecoder)
#include "tst_textdecoder.moc"
