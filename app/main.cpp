#include "globals.h"
#include "mainwindow.h"
#include "qttranslations.h"

#include <QApplication>
#include <QTextCodec>

int main(int argc, char *argv[])
{
    setProgramDirectory(argv[0]);
    QApplication app(argc, argv);
#ifdef TALDON_HAS_RESOURCES
    Q_INIT_RESOURCE(resources);
#endif
    loadQtTranslations(&app);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    MainWindow window;
    window.show();
    return app.exec();
}
