#include "paralleleval.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <unistd.h>

namespace
{

QByteArray encodeId(const QString &id)
{
    return id.toUtf8().toPercentEncoding();
}

} // namespace

ParallelEval::ParallelEval(QObject *parent) : QObject(parent) {}

ParallelEval::~ParallelEval()
{
    for (QProcess *worker : qAsConst(workers)) {
        worker->disconnect(this);
        worker->kill();
        worker->waitForFinished(5000);
    }
    qDeleteAll(workers);
}

QString ParallelEval::findProgram(const QString &applicationDir)
{
    const QString named = qEnvironmentVariable("TALDON_CLI");
    if (!named.isEmpty())
        return named;
    for (const QString &candidate : {applicationDir + QStringLiteral("/taldon-cli"),
                                     applicationDir + QStringLiteral("/../cli/taldon-cli")})
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    return QStringLiteral("taldon-cli");
}

int ParallelEval::maxJobs()
{
    return qMax(1, QThread::idealThreadCount());
}

bool ParallelEval::start(const Request &r, QString *reason)
{
    request = r;
    const QString base =
        r.workDir.isEmpty() ? r.home + QStringLiteral("/tmp") : QDir::cleanPath(r.workDir);
    if (!r.workDir.isEmpty() && !QDir().mkpath(base)) {
        *reason = QStringLiteral("无法创建工作目录 %1").arg(base);
        return false;
    }
    if (!lock.acquire(QFile::encodeName(base), r.waitForLock, reason))
        return false;
    for (const _evaldata &player : r.players)
        pending.append(encodeId(player.id));
    const int jobs = qBound(1, r.jobs, qMax(1, pending.size()));
    // Pinned to a core each only when there are enough cores, so that CPU times stay those of
    // a machine doing nothing else.
    const bool pin = r.jobs <= maxJobs();
    for (int k = 1; k <= jobs; ++k) {
        QStringList args{QStringLiteral("eval"),      r.contest,
                         QStringLiteral("--day"),     QString::number(r.day),
                         QStringLiteral("--worker"),  QString::number(k),
                         QStringLiteral("--workdir"), base};
        if (!r.task.isEmpty())
            args << QStringLiteral("--task") << r.task;
        if (pin)
            args << QStringLiteral("--pin");
        if (r.requireSandbox)
            args << QStringLiteral("--require-sandbox");
        auto *worker = new QProcess(this);
        worker->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(worker, &QProcess::readyReadStandardOutput, this, [this, k] { readWorker(k); });
        connect(worker, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
                &ParallelEval::workerEnded);
        workers.append(worker);
        worker->start(r.program, args);
        if (!worker->waitForStarted(10000)) {
            *reason =
                QStringLiteral("无法启动评测进程 %1: %2").arg(r.program, worker->errorString());
            workers.removeLast();
            delete worker;
            break;
        }
        ++running;
        feedWorker(k);
    }
    if (running == 0) {
        lock.release();
        return false;
    }
    return true;
}

void ParallelEval::feedWorker(int k)
{
    QProcess *worker = workers.value(k - 1);
    if (!worker)
        return;
    if (next < pending.size() && !failed && !stopping)
        worker->write(pending.at(next++) + '\n');
    else
        worker->closeWriteChannel();
}

void ParallelEval::stop()
{
    stopping = true;
    for (QProcess *worker : qAsConst(workers)) {
        if (worker->state() == QProcess::NotRunning)
            continue;
        worker->closeWriteChannel();
        worker->terminate();
    }
    // A worker stops after its compilation in progress, which is bounded by a minute.
    for (QProcess *worker : qAsConst(workers))
        if (worker->state() != QProcess::NotRunning && !worker->waitForFinished(90000))
            worker->kill();
}

int ParallelEval::rowOf(const QString &id) const
{
    for (const _evaldata &player : request.players)
        if (player.id == id)
            return player.row;
    return -1;
}

void ParallelEval::readWorker(int k)
{
    QProcess *worker = workers.value(k - 1);
    while (worker && worker->canReadLine()) {
        const QList<QByteArray> fields = worker->readLine().trimmed().split('\t');
        const QByteArray kind = fields.value(0);
        const QString id = QString::fromUtf8(QByteArray::fromPercentEncoding(fields.value(1)));
        if (kind == "failed") {
            failed = true;
            emit evalFailed(id);
        } else if (kind == "start") {
            emit startEvalPlayer(rowOf(id));
        } else if (kind == "task") {
            emit evalOneTaskComplete(id, rowOf(id), fields.value(2).toInt(),
                                     fields.value(3) == "1");
        } else if (kind == "problem") {
            emit evalProblem(rowOf(id),
                             QString::fromUtf8(QByteArray::fromPercentEncoding(fields.value(2))),
                             QString::fromUtf8(QByteArray::fromPercentEncoding(fields.value(3))));
        } else if (kind == "end") {
            emit endEvalPlayer(rowOf(id), fields.value(2) == "1");
            feedWorker(k);
        }
    }
}

void ParallelEval::workerEnded()
{
    auto *worker = qobject_cast<QProcess *>(sender());
    const int k = workers.indexOf(worker) + 1;
    if (k > 0)
        readWorker(k);
    if (worker && (worker->exitStatus() != QProcess::NormalExit || worker->exitCode() != 0) &&
        !failed) {
        failed = true;
        emit evalFailed(QStringLiteral("评测进程 %1 异常结束").arg(k));
    }
    if (--running == 0) {
        lock.release();
        emit finished();
    }
}
