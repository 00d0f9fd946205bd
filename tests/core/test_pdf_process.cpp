// LibreOffice as a helper process: the estimate of a document's pages and of the conversion's
// time, and the process group that a cancel ends with everything it started.
#include "core/ChildProcessGroup.h"
#include "core/Messages.h"
#include "core/ProgressControl.h"
#include "core/reports/PdfEstimate.h"
#include "core/reports/PdfExport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace korvan;

namespace {

// Ended, or ended and not yet reaped by whoever inherited it.
bool gone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && line.mid(close + 2, 1) == "Z";
}

QList<qint64> pidsIn(const QString &path)
{
    QList<qint64> out;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray &line : f.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                out << line.trimmed().toLongLong();
    return out;
}

void writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestPdfProcess : public QObject {
    Q_OBJECT

private slots:
    void estimate_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty document") << 0 << 0 << 0 << 0 << 1;
        QTest::newRow("a page of text") << 34 << 0 << 0 << 0 << 1;
        QTest::newRow("a line more") << 35 << 0 << 0 << 0 << 2;
        // A table's cells hold a paragraph each: the rows count, not the cells.
        QTest::newRow("1440 rows of 8 cells") << 11520 << 1440 << 11520 << 0 << 43;
        QTest::newRow("four charts") << 0 << 0 << 0 << 4 << 2;
    }
    void estimate()
    {
        QFETCH(int, paragraphs);
        QFETCH(int, rows);
        QFETCH(int, cells);
        QFETCH(int, pictures);
        QFETCH(int, pages);
        const PdfEstimate e = PdfEstimate::ofCounts(paragraphs, rows, cells, pictures);
        QCOMPARE(e.pages, pages);
        // More pages never take less time, and the limit stays well above the estimate.
        QVERIFY(e.seconds >= PdfEstimate::ofCounts(0, 0, 0, 0).seconds);
        QVERIFY(e.timeLimitSeconds() >= 3 * e.seconds);
        QVERIFY(e.timeLimitSeconds() >= 180);
        QVERIFY(e.text().startsWith(QStringLiteral("около %1 стр.").arg(pages)));
    }

    void limitGrowsWithPages()
    {
        const PdfEstimate small = PdfEstimate::ofCounts(0, 400, 400, 0);
        const PdfEstimate large = PdfEstimate::ofCounts(0, 34000, 34000, 0);
        QCOMPARE(large.pages, 1000);
        QVERIFY(large.seconds > small.seconds);
        QVERIFY(large.timeLimitSeconds() > small.timeLimitSeconds());
    }

    // The group goes as a whole: the program and what it started in the background.
    void endingTheGroupEndsWhatItStarted()
    {
        QList<qint64> pids;
        qint64 group = 0;
        {
            ChildProcessGroup child;
            QVERIFY(
                child.start(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), QStringLiteral("sleep 300 & echo $!; sleep 300 & echo $!; wait")}));
            group = child.groupId();
            QVERIFY(group > 0);
            QCOMPARE(ChildProcessGroup::registeredGroups(), 1);
            QByteArray out;
            while (out.count('\n') < 2 && child.process().waitForReadyRead(10000))
                out += child.process().readAllStandardOutput();
            for (const QByteArray &line : out.split('\n'))
                if (!line.trimmed().isEmpty())
                    pids << line.trimmed().toLongLong();
            QCOMPARE(pids.size(), 2);
            for (qint64 pid : pids)
                QVERIFY(!gone(pid));
        } // the destructor ends the group
        QCOMPARE(ChildProcessGroup::registeredGroups(), 0);
        for (qint64 pid : pids)
            QTRY_VERIFY(gone(pid));
        QTRY_VERIFY(gone(group));
    }

    // A cancel while LibreOffice converts ends it and all it started; nothing is left behind and
    // no PDF is written.
    void cancelEndsTheConversion()
    {
        QTemporaryDir bin;
        const QString pidFile = bin.filePath("pids");
        writeScript(bin.filePath("soffice"),
                    "echo $$ > \"$KORVAN_PIDS\"\nsleep 300 &\necho $! >> \"$KORVAN_PIDS\"\nwait\n");
        QTemporaryDir out;
        const QString docx = out.filePath("report.docx");
        {
            QFile f(docx);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a real document");
        }
        const QByteArray oldPath = qgetenv("PATH");
        // The fake LibreOffice comes first on the PATH; sleep is found after it.
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + oldPath);
        qputenv("KORVAN_PIDS", QFile::encodeName(pidFile));
        ProgressControl control;
        std::atomic<bool> over{false};
        // The window's «Отмена» comes from another thread than the work's.
        std::thread cancel([&] {
            while (!over && pidsIn(pidFile).size() < 2)
                std::this_thread::yield();
            control.cancel();
        });
        bool aborted = false;
        QString failure;
        try {
            ConvertToPdf(docx, out.filePath("report.pdf"), &control);
        } catch (const Abort &) {
            aborted = true;
        } catch (const KorvanError &e) {
            failure = e.message();
        }
        over = true;
        cancel.join();
        qputenv("PATH", oldPath);
        QVERIFY2(aborted, qPrintable(failure));
        QVERIFY(control.step().contains(QStringLiteral("около 1 стр.")));
        QVERIFY(!QFile::exists(out.filePath("report.pdf")));
        QCOMPARE(ChildProcessGroup::registeredGroups(), 0);
        const QList<qint64> pids = pidsIn(pidFile);
        QCOMPARE(pids.size(), 2);
        for (qint64 pid : pids)
            QTRY_VERIFY(gone(pid));
    }

    // The command-line program's cancel carries its message.
    void cancelWithAMessage()
    {
        ProgressControl control(QStringLiteral("Команда прервана."));
        control.report(1, 10);
        control.cancel();
        QVERIFY_THROWS_EXCEPTION(KorvanError, control.report(2, 10));
        QCOMPARE(control.value(), 2);
        control.reset();
        control.report(3, 10);
        QCOMPARE(control.value(), 3);
    }
};

QTEST_GUILESS_MAIN(TestPdfProcess)
#include "test_pdf_process.moc"
