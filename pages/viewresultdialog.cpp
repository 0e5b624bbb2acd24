#include "viewresultdialog.h"

#include "cdayinfo.h"
#include "ctaskinfo.h"
#include "textdecoder.h"

#include <QFile>
#include <QFileInfo>

namespace
{

const QString notFound = QStringLiteral("找不到答案文件");
// A file larger than this is shown cut: a flood of output must not freeze the dialog.
const qint64 shownBytes = 256 * 1024;

// The id is typed by hand: it must name a directory below the day, not climb out of it.
bool isDirectoryName(const QString &id)
{
    return !id.isEmpty() && !id.contains('/') && id != QLatin1String(".") &&
           id != QLatin1String("..");
}

// The file's text, decoded as UTF-8 or else GB18030; empty when it cannot be read.
QString readShown(const QString &path, bool *read)
{
    QFile file(path);
    *read = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    if (!*read)
        return QString();
    QString text = TextDecoder::decode(file.read(shownBytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (file.size() > shownBytes)
        text += QStringLiteral("\n……（以下 %1 字节未显示）\n").arg(file.size() - shownBytes);
    return text;
}

// The first of <task>.c, .cpp, .pas, .py and .java handed in.
QString sourceText(const QString &dir, const QString &task)
{
    for (const char *suffix : {"c", "cpp", "pas", "py", "java"}) {
        bool read = false;
        const QString text = readShown(dir + task + '.' + QString::fromLatin1(suffix), &read);
        if (read)
            return text;
    }
    return notFound;
}

// Every answer file <task><i>.out handed in, each under its name.
QString answersText(const QString &dir, const CTaskInfo &task)
{
    QString text;
    bool any = false;
    for (int i = 1; i <= task.getSamplenum(); ++i) {
        const QString name = task.getTaskname() + QString::number(i) + QStringLiteral(".out");
        bool read = false;
        const QString content = readShown(dir + name, &read);
        any = any || read;
        text += QStringLiteral("===== %1 =====\n").arg(name) + (read ? content : notFound + '\n');
        if (!text.endsWith('\n'))
            text += '\n';
    }
    return any ? text : notFound;
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
    connect(ui.taskCB, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ViewResultDialog::taskChangedSlot);
}

void ViewResultDialog::fillTaskCB()
{
    for (int d = 0; d < dayNum; ++d)
        for (int i = 0; i < days[d].getTaskNum(); ++i)
            ui.taskCB->addItem(
                QStringLiteral("第%1场 %2").arg(d + 1).arg(days[d].getTaskInfo(i)->getTaskname()));
    ui.taskCB->setCurrentIndex(0);
}

void ViewResultDialog::idChangedSlot(const QString &id)
{
    const bool safe = isDirectoryName(id);
    texts.clear();
    for (int d = 0; d < dayNum; ++d) {
        CDayInfo &day = days[d];
        for (int i = 0; i < day.getTaskNum(); ++i) {
            const CTaskInfo &task = *day.getTaskInfo(i);
            const QString dir = day.getHome() + QStringLiteral("/players/day%1/%2/%3/")
                                                    .arg(day.getDirNumber())
                                                    .arg(id, task.getTaskname());
            if (!safe)
                texts << notFound;
            else if (task.getCommitType() == ANSWERS)
                texts << answersText(dir, task);
            else
                texts << sourceText(dir, task.getTaskname());
        }
    }
    taskChangedSlot(ui.taskCB->currentIndex());
}

void ViewResultDialog::taskChangedSlot(int index)
{
    ui.showTE->setPlainText(texts.value(index));
}
