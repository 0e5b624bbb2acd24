#include "viewresultdialog.h"

#include "cdayinfo.h"
#include "ctaskinfo.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace
{

// The id is typed by hand: it must name a directory below the day, not climb out of it.
bool isDirectoryName(const QString &id)
{
    return !id.isEmpty() && !id.contains('/') && id != QLatin1String(".") &&
           id != QLatin1String("..");
}

// The first of <task>.c, <task>.cpp and <task>.pas handed in, or an empty path.
QString findSource(const QString &home, int dayNumber, const QString &id, const QString &task)
{
    for (const char *suffix : {"c", "cpp", "pas"}) {
        const QString path = home + QStringLiteral("/players/day%1/%2/%3/%4.%5")
                                        .arg(dayNumber)
                                        .arg(id, task, task, QString::fromLatin1(suffix));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString readSource(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("找不到答案文件");
    QTextStream in(&file);
    in.setCodec("UTF-8");
    return in.readAll();
}

} // namespace

ViewResultDialog::ViewResultDialog(const QString &id, CDayInfo *days, int dayNum)
    : days(days), dayNum(dayNum)
{
    ui.setupUi(this);
    ui.idTL->setText(id);
    fillTaskCB();
    idChangedSlot(id);
    connect(ui.idTL, &QLineEdit::textChanged, this, &ViewResultDialog::idChangedSlot);
    connect(ui.taskCB, &QComboBox::currentTextChanged, this, &ViewResultDialog::taskChangedSlot);
}

void ViewResultDialog::fillTaskCB()
{
    for (int d = 0; d < dayNum; ++d)
        for (int i = 0; i < days[d].getTaskNum(); ++i)
            ui.taskCB->addItem(days[d].getTaskInfo(i)->getTaskname());
    ui.taskCB->setCurrentIndex(0);
}

void ViewResultDialog::idChangedSlot(const QString &id)
{
    const bool safe = isDirectoryName(id);
    for (int d = 0; d < dayNum; ++d) {
        CDayInfo &day = days[d];
        for (int i = 0; i < day.getTaskNum(); ++i) {
            const QString task = day.getTaskInfo(i)->getTaskname();
            // Keyed by name alone: a later day's task of the same name wins.
            texts[task] = readSource(safe ? findSource(day.getHome(), day.getDirNumber(), id, task)
                                          : QString());
        }
    }
    taskChangedSlot(ui.taskCB->currentText());
}

void ViewResultDialog::taskChangedSlot(const QString &task)
{
    ui.showTE->setPlainText(texts[task]);
}
