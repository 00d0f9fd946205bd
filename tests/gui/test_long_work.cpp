// Long work beside the window: the progress dialog's «Отмена» reaches work on another thread,
// a cancelled command leaves the store as it was, and a report is read on a connection of its own
// while the window's cursors stay where they are.
#include "MessageRecorder.h"
#include "ProjectFixture.h"
#include "SavedReport.h"

#include "core/compensation/VariantCommands.h"
#include "core/data/Fields.h"
#include "core/data/Store.h"
#include "core/reports/WordApplication.h"
#include "gui/app/TMainForm.h"
#include "gui/widgets/LongWork.h"

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace korvan;
using namespace korvan::test;

class TestLongWork : public QObject {
    Q_OBJECT

private slots:
    // «Отмена» in the dialog stops work running on its own thread; the caller gets the Abort.
    void cancelReachesTheWorker()
    {
        LongWork work(nullptr, QStringLiteral("Проверка"));
        std::atomic<bool> started{false};
        QTimer::singleShot(0, [&] {
            QProgressDialog *dialog = LongWork::runningDialog();
            QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
            QTRY_VERIFY(started);
            dialog->findChild<QPushButton *>("btnCancel")->click();
        });
        bool aborted = false;
        try {
            work.beside([&] {
                work.control().setStep(QStringLiteral("Шаг"));
                started = true;
                for (int step = 0;; ++step) {
                    work.control().report(step % 100, 100);
                    std::this_thread::yield();
                }
            });
        } catch (const Abort &) {
            aborted = true;
        }
        QVERIFY(aborted);
        QVERIFY(work.control().cancelRequested());
    }

    // A command cancelled halfway is rolled back as a whole.
    void cancelRollsTheCommandBack()
    {
        MessageRecorder rec;
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const int before = dm.tblProj2->recordCount();
        LongWork work(nullptr, QStringLiteral("Проверка"));
        const Progress progress = work.progress();
        bool aborted = false;
        try {
            work.here([&] {
                Store::Transaction tx(dm.store());
                for (int n = 1; n <= 5; ++n) {
                    VariantParams v;
                    v.varNum = QString::number(n);
                    addVariant(dm, v);
                    if (n == 3)
                        work.control().cancel(); // as «Отмена» does between two steps
                    progress(n, 5);
                }
                tx.commit();
            });
        } catch (const Abort &) {
            aborted = true;
        }
        QVERIFY(aborted);
        dm.tblProj2->refresh();
        QCOMPARE(dm.tblProj2->recordCount(), before);
        QVERIFY(rec.errors.isEmpty());
    }

    // The report of a data folder is read on a connection of its own: the document is whole and
    // the window's current variant and periods stay where they were.
    void reportOnAConnectionOfItsOwn()
    {
        MessageRecorder rec;
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm, QStringLiteral("Цех 7"));
        for (int n = 1; n <= 2; ++n) {
            VariantParams v;
            v.varNum = QString::number(n);
            addVariant(dm, v);
        }
        QVERIFY(dm.tblProj2->locate(fld::VarNum, 1));
        const qint64 variant = dm.tblProj2->currentKod();
        dm.tblProj1->last();
        const int period = dm.tblProj1->recNo();
        TMainForm form(dm);
        QTemporaryDir out;
        const QString path = out.filePath("отчет.docx");
        form.word().setTargetFile(path);
        form.findChild<QAction *>("mnWordRepKU")->trigger();
        QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join('\n')));
        const SavedReport doc(path);
        QVERIFY(doc.ok);
        QVERIFY(doc.paragraphTexts().join('\n').contains(QStringLiteral("Цех 7")));
        QCOMPARE(dm.tblProj2->currentKod(), variant);
        QCOMPARE(dm.tblProj1->recNo(), period);
        QVERIFY(!LongWork::runningDialog());
        // The notice says where the report went.
        auto *notice = form.findChild<QWidget *>("SavedNotice");
        QVERIFY(notice && notice->isVisible());
    }
};

QTEST_MAIN(TestLongWork)
#include "test_long_work.moc"
