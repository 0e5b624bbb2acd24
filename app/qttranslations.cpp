#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadQtTranslations(QCoreApplication *app)
{
    // The application owns the translator: it must live as long as any text is looked up.
    auto *translator = new QTranslator(app);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!translator->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app->installTranslator(translator);
}
