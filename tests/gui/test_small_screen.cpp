// Windows on a small screen and over modal dialogs: every window of the program fits a
// 1024 x 768 screen and opens inside it, centred; help asked for from a modal dialog is above it
// and takes the mouse while the dialog is open.
#include "MessageRecorder.h"
#include "ReportFixture.h"

#include "gui/app/TMainForm.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/ui/WindowPlacement.h"

#include <QAction>
#include <QDialog>
#include <QLayout>
#include <QScrollArea>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

// A 1024 x 768 screen less a task bar.
const QRect SmallScreen(0, 0, 1024, 740);

QSize leastSize(QWidget *w)
{
    QSize least = w->layout() ? w->layout()->totalMinimumSize() : w->minimumSizeHint();
    return least.expandedTo(w->minimumSize()).expandedTo(w->minimumSizeHint());
}

} // namespace

class TestSmallScreen : public QObject {
    Q_OBJECT

private slots:
    void everyWindowFitsASmallScreen()
    {
        TestData td;
        MessageRecorder rec;
        createThreeVariantProject(*td.data);
        TMainForm form(*td.data);
        // The viewers are made when first opened.
        for (const char *viewer : {"mnDiagSut", "mnDiagPar"}) {
            form.findChild<QAction *>(viewer)->trigger();
            if (QWidget *open = QApplication::activeModalWidget())
                open->close();
        }
        QList<QWidget *> windows{&form};
        for (QDialog *d : form.findChildren<QDialog *>())
            windows << d;
        QVERIFY(windows.size() > 8);
        for (QWidget *w : windows) {
            const QSize room = SmallScreen.size() - WindowPlacement::frameAllowance(w);
            const QSize least = leastSize(w);
            QVERIFY2(
                least.width() <= room.width() && least.height() <= room.height(),
                qPrintable(
                    QStringLiteral("%1 needs %2 x %3").arg(w->objectName()).arg(least.width()).arg(least.height())));
            WindowPlacement::place(w, SmallScreen);
            const QRect frame(w->pos(), w->size() + WindowPlacement::frameAllowance(w));
            QVERIFY2(SmallScreen.contains(frame), qPrintable(w->objectName()));
            // Centred, to the pixel rounding.
            QVERIFY2(qAbs(frame.center().x() - SmallScreen.center().x()) <= 1, qPrintable(w->objectName()));
            // Nothing is reached by scrolling sideways: what a window scrolls fits its width.
            if (w->layout())
                w->layout()->activate();
            for (QScrollArea *area : w->findChildren<QScrollArea *>()) {
                if (!area->widget() || area->window() != w)
                    continue;
                const int needs = area->widget()->minimumSizeHint().width();
                QVERIFY2(needs <= area->maximumViewportSize().width(),
                         qPrintable(QStringLiteral("%1: %2 needs %3 of %4")
                                        .arg(w->objectName(), area->objectName())
                                        .arg(needs)
                                        .arg(area->maximumViewportSize().width())));
            }
        }
    }

    void placementShrinksAndCentresALargeWindow()
    {
        QWidget w;
        const QSize frame = WindowPlacement::frameAllowance(&w);
        w.resize(1180, 900);
        WindowPlacement::place(&w, QRect(100, 0, 1024, 768));
        QVERIFY(w.width() + frame.width() <= 1024);
        QVERIFY(w.height() + frame.height() <= 768);
        QCOMPARE(w.x(), 100);
        QWidget small;
        small.resize(400, 300);
        WindowPlacement::place(&small, QRect(100, 0, 1024, 768));
        QCOMPARE(small.size(), QSize(400, 300));
        QVERIFY(qAbs(small.x() + (400 + frame.width()) / 2 - (100 + 512)) <= 1);
    }

    void helpFromAModalDialogTakesTheMouse()
    {
        QWidget main;
        main.resize(600, 400);
        main.show();
        QDialog dialog(&main);
        openModal(&dialog, {});
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);

        showHelpTopic(5);
        HelpWindow *help = HelpWindow::instance();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QVERIFY(help->isWindow());
        QCOMPARE(help->window()->parentWidget(), &dialog); // owned by the dialog: above it
        QVERIFY(help->source().toString().endsWith("5.html"));

        // A click reaches the help's own button while the dialog is still open.
        auto *contents = help->findChild<QToolButton *>("btnContents");
        QVERIFY(contents);
        const QPoint at = contents->mapTo(help, contents->rect().center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
        QTRY_VERIFY(help->source().toString().endsWith("index.html"));

        // The dialog closes: its help goes with it and is a window of its own again.
        dialog.done(QDialog::Rejected);
        QVERIFY(!help->isVisible());
        QVERIFY(!help->parentWidget());
        showHelpContents();
        QVERIFY(help->isVisible());
        QVERIFY(!help->parentWidget());
        help->close();
    }
};

QTEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
