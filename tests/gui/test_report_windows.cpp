// The report settings dialog driven through its widgets, and the two report commands of the main
// window producing their documents.
#include "MessageRecorder.h"
#include "ReportFixture.h"
#include "SavedReport.h"

#include "core/data/ReportFrontTables.h"
#include "core/reports/DocumentOpener.h"
#include "core/reports/PdfExport.h"
#include "core/reports/WordApplication.h"
#include "gui/app/TMainForm.h"
#include "gui/reports/TParRepFm.h"
#include "gui/widgets/CommandProgressBar.h"
#include "gui/widgets/CursorGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

namespace {

// Keeps the documents the program would open.
struct RecordingOpener : DocumentOpener {
    QStringList opened;
    DocumentOpener *previous;
    RecordingOpener() : previous(DocumentOpener::install(this)) {}
    ~RecordingOpener() override { DocumentOpener::install(previous); }
    bool open(const QString &path) override
    {
        opened << path;
        return true;
    }
};

// The flag of the report.DB record as stored, read by a cursor of its own.
QVariant storedFlag(TestData &t, const QString &field)
{
    TTable other(*t.store, QStringLiteral("report.DB"));
    other.open();
    other.gotoBookmark({t.data->TableReport->currentKod()});
    return other.value(field);
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT

    struct Dialog {
        TestData t;
        MessageRecorder rec;
        std::unique_ptr<TParRepFm> fm;
        Dialog()
        {
            t.data->TableReport->first();
            fm = std::make_unique<TParRepFm>(*t.data);
            fm->show();
        }
        QCheckBox *box(F f) { return fm->flagBox(f); }
        void click(F f) { QTest::mouseClick(box(f), Qt::LeftButton, {}, QPoint(6, box(f)->height() / 2)); }
        void nav(const char *name) { fm->findChild<QToolButton *>(name)->click(); }
        TTable &report() { return *t.data->TableReport; }
        QStringList states(const QList<F> &flags)
        {
            QStringList out;
            for (F f : flags)
                out << QStringLiteral("%1%2").arg(box(f)->isChecked() ? "on" : "off",
                                                  box(f)->isEnabled() ? "" : "-disabled");
            return out;
        }
    };

private slots:
    void uncheckingAMainBoxClearsAndDisablesItsSubBoxes()
    {
        Dialog d;
        const QList<F> subs = {F::SutGrPrim, F::SutGrFormula, F::SutGrScore};
        QCOMPARE(d.states(subs), (QStringList{"on", "on", "on"}));
        d.click(F::SutGr);
        QVERIFY(d.report().editing());
        QVERIFY(!d.box(F::SutGr)->isChecked());
        QCOMPARE(d.states(subs), (QStringList{"off-disabled", "off-disabled", "off-disabled"}));
        for (F f : subs)
            QCOMPARE(d.report().value(reportFlagInfo(f).field), QVariant(false));
        // Other sections are left alone.
        QCOMPARE(d.states({F::SutHar, F::SutFormula}), (QStringList{"on", "on"}));
        d.click(F::SutGr);
        QCOMPARE(d.states(subs), (QStringList{"off", "off", "off"}));
        // Nothing is stored until the record is posted.
        QCOMPARE(storedFlag(d.t, "SutGrPrim"), QVariant(true));
        d.nav("btnPost");
        QVERIFY(!d.report().editing());
        QCOMPARE(storedFlag(d.t, "SutGrPrim"), QVariant(false));
        QCOMPARE(storedFlag(d.t, "SutGr"), QVariant(true));
    }

    void closingStoresTheRecordBeingEdited()
    {
        Dialog d;
        d.click(F::SutGr);
        QVERIFY(d.report().editing());
        d.fm->close();
        QVERIFY(!d.report().editing());
        QCOMPARE(storedFlag(d.t, "SutGr"), QVariant(false));
        QCOMPARE(storedFlag(d.t, "SutGrPrim"), QVariant(false));
    }

    void installationCharacteristicRulesTheCompensatedGraph()
    {
        Dialog d;
        d.click(F::KUHar);
        QCOMPARE(d.states({F::SutGrKomp, F::SutGrKompPrim, F::SutGrKompFormula, F::SutGrKompScore}),
                 (QStringList{"off-disabled", "off-disabled", "off-disabled", "off-disabled"}));
        QCOMPARE(d.states({F::SutHarKomp, F::SutKompPrim, F::MonthHarKomp, F::YearKompScore}),
                 (QStringList{"on", "on", "on", "on"}));
        d.click(F::KUHar);
        QCOMPARE(d.states({F::SutGrKomp, F::SutGrKompPrim}), (QStringList{"off", "off-disabled"}));
        d.click(F::SutGrKomp);
        QCOMPARE(d.states({F::SutGrKomp, F::SutGrKompPrim, F::SutGrKompScore}), (QStringList{"on", "off", "off"}));
        d.click(F::SutGrKompScore);
        d.nav("btnPost");
        QCOMPARE(storedFlag(d.t, "SutGrKompScore"), QVariant(true));
        QCOMPARE(storedFlag(d.t, "SutGrKompPrim"), QVariant(false));
    }

    void anotherRecordReappliesTheRule()
    {
        Dialog d;
        appendRow(d.report(), {{"Name", "Краткий"},
                               {"SutGr", false},
                               {"SutGrPrim", true},
                               {"SutHar", true},
                               {"SutFormula", true},
                               {"PaperSize", "A5"},
                               {"TopMargin", 10}});
        d.report().first();
        QCOMPARE(d.states({F::SutGr, F::SutGrPrim}), (QStringList{"on", "on"}));
        d.nav("btnLast");
        QCOMPARE(d.report().asString("Name"), QStringLiteral("Краткий"));
        QCOMPARE(d.states({F::SutGr, F::SutGrPrim, F::SutHar, F::SutFormula}),
                 (QStringList{"off", "off-disabled", "on", "on"}));
        QVERIFY(d.fm->findChild<QRadioButton *>("rdgPaperSize2")->isChecked());
        QCOMPARE(d.fm->findChild<QLineEdit *>("EditTopMargin")->text(), QStringLiteral("10"));
        d.nav("btnFirst");
        QCOMPARE(d.states({F::SutGr, F::SutGrPrim}), (QStringList{"on", "on"}));
        QCOMPARE(d.fm->findChild<QLineEdit *>("EditTopMargin")->text(), QStringLiteral("20"));
    }

    // Typing Cyrillic text, which QTest::keyClicks cannot: one key press that carries it.
    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    }

    // The summary, the contents and the engineer are kept beside the record, each under its own
    // record's key; moving to another record shows that record's.
    void frontPageSettingsAreKeptPerRecord()
    {
        Dialog d;
        const qint64 first = d.report().currentKod();
        QVERIFY(d.fm->summaryBox()->isChecked());
        QVERIFY(d.fm->contentsBox()->isChecked());
        d.fm->contentsBox()->click();
        QCOMPARE(reportFront(*d.t.store, first).contents, false);
        QCOMPARE(reportFront(*d.t.store, first).summary, true);
        QLineEdit *name = d.fm->engineerEdit(0);
        QCOMPARE(name->objectName(), QStringLiteral("editEngineerName"));
        typeInto(name, "Петренко");
        typeInto(d.fm->engineerEdit(2), "ООО «Энергоаудит»");
        QCOMPARE(reportEngineer(*d.t.store, first).text(), QStringLiteral("Петренко, ООО «Энергоаудит»"));
        // The next record, though the name field keeps the focus, shows its own (empty) engineer.
        name->setFocus();
        d.nav("btnNext");
        QVERIFY(d.report().currentKod() != first);
        QCOMPARE(name->text(), QString());
        QVERIFY(d.fm->contentsBox()->isChecked());
        typeInto(name, "Иванов");
        QCOMPARE(reportEngineer(*d.t.store, d.report().currentKod()).name, QStringLiteral("Иванов"));
        QCOMPARE(reportEngineer(*d.t.store, first).name, QStringLiteral("Петренко"));
        d.nav("btnFirst");
        QCOMPARE(name->text(), QStringLiteral("Петренко"));
        QVERIFY(!d.fm->contentsBox()->isChecked());
        // A record not yet stored has nothing to keep them under.
        d.nav("btnInsert");
        QVERIFY(!d.fm->summaryBox()->isEnabled());
        QVERIFY(!name->isEnabled());
    }

    void radioGroupsStoreTheirValues_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::newRow("А3") << "rdgPaperSize0"
                            << "PaperSize"
                            << "A3";
        QTest::newRow("А4 in Latin letters") << "rdgPaperSize1"
                                             << "PaperSize"
                                             << "A4";
        QTest::newRow("А5") << "rdgPaperSize2"
                            << "PaperSize"
                            << "A5";
        QTest::newRow("current document") << "rdgWordDoc1"
                                          << "WordDoc"
                                          << "текущий";
        QTest::newRow("landscape") << "rdgPaperOrient1"
                                   << "PaperOrient"
                                   << "альбомная";
        QTest::newRow("no page numbers") << "rdgPageNum2"
                                         << "PageNum"
                                         << "нет";
    }
    void radioGroupsStoreTheirValues()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        Dialog d;
        // Start from another item so that the click changes something.
        d.report().edit();
        d.report().setValue(field, "?");
        d.report().post();
        auto *b = d.fm->findChild<QRadioButton *>(button);
        QVERIFY(!b->isChecked());
        b->click();
        QVERIFY(d.report().editing());
        d.nav("btnPost");
        QCOMPARE(storedFlag(d.t, field).toString(), stored);
        QVERIFY(b->isChecked());
    }

    void marginsStepAndType()
    {
        Dialog d;
        auto *edit = d.fm->findChild<QLineEdit *>("EditTopMargin");
        QCOMPARE(edit->text(), QStringLiteral("20"));
        auto *steps = d.fm->findChild<QWidget *>("udTopMargin");
        steps->findChild<QToolButton *>("up")->click();
        QVERIFY(d.report().editing());
        QCOMPARE(edit->text(), QStringLiteral("21"));
        steps->findChild<QToolButton *>("down")->click();
        steps->findChild<QToolButton *>("down")->click();
        QCOMPARE(edit->text(), QStringLiteral("19"));
        d.nav("btnPost");
        QCOMPARE(storedFlag(d.t, "TopMargin").toInt(), 19);

        // Typed digits go into the record; a point is no digit of a whole number and is dropped.
        auto *left = d.fm->findChild<QLineEdit *>("EditLeftMargin");
        left->setFocus();
        left->selectAll();
        QTest::keyClicks(left, "3.2");
        QCOMPARE(left->text(), QStringLiteral("32"));
        d.nav("btnPost");
        QCOMPARE(storedFlag(d.t, "LeftMargin").toInt(), 32);
    }

    static void typeMargin(QLineEdit *edit, const QString &text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // A margin pair must leave 20 mm of the paper for the text: checked on leaving the field
    // (against the paper chosen) and again on closing, with the field named.
    void marginsAreCheckedAgainstThePaper()
    {
        Dialog d;
        QApplication::setActiveWindow(d.fm.get());
        auto *top = d.fm->findChild<QLineEdit *>("EditTopMargin");
        auto *bottom = d.fm->findChild<QLineEdit *>("EditBottomMargin");
        QCOMPARE(bottom->text(), QStringLiteral("20"));
        typeMargin(top, "5520");
        bottom->setFocus(Qt::TabFocusReason);
        QCOMPARE(d.rec.errors, QStringList{"Поля страницы «верхнее» (5520 мм) и «нижнее» (20 мм) оставляют для текста "
                                           "0 мм высоты листа A4 (297 мм), а нужно не менее 20 мм."});
        QCOMPARE(QApplication::focusWidget(), top);
        typeMargin(top, "150");
        bottom->setFocus(Qt::TabFocusReason);
        QCOMPARE(d.rec.errors.size(), 1);

        // A5 landscape leaves 148 mm of height: 150 + 20 no longer fits, and closing says so.
        d.fm->findChild<QAbstractButton *>("rdgPaperSize2")->click();
        d.fm->findChild<QAbstractButton *>("rdgPaperOrient1")->click();
        d.fm->close();
        QVERIFY(d.fm->isVisible());
        QCOMPARE(d.rec.errors.size(), 2);
        QCOMPARE(d.rec.errors.last(), "Поля страницы «верхнее» (150 мм) и «нижнее» (20 мм) оставляют для текста "
                                      "0 мм высоты листа A5 (148 мм), а нужно не менее 20 мм.");
        QCOMPARE(QApplication::focusWidget(), top);
        typeMargin(top, "100");
        d.fm->close();
        QVERIFY(!d.fm->isVisible());
        QCOMPARE(d.rec.errors.size(), 2);
        QCOMPARE(storedFlag(d.t, "TopMargin").toInt(), 100);
    }

    void samplePictures()
    {
        Dialog d;
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(d.box(F::ProjName), &enter);
        QCOMPARE(d.fm->sampleNote()->text(), QStringLiteral("см. подчеркнутое."));
        QCOMPARE(d.fm->sampleShown(), QStringLiteral("dbchkProjName"));
        QVERIFY(d.fm->samplePicture()->pixmap().width() > 50);
        QApplication::sendEvent(d.box(F::MonthKompScore), &enter);
        QCOMPARE(d.fm->sampleNote()->text(), QStringLiteral("см. фрагмент."));
        QCOMPARE(d.fm->sampleShown(), QStringLiteral("dbchkMonthKompScore"));

        // "Образец." off: the blank square, no note, and hovering changes nothing.
        auto *sample = d.fm->findChild<QCheckBox *>("chkSample");
        sample->click();
        QCOMPARE(d.fm->sampleNote()->text(), QString());
        QCOMPARE(d.fm->samplePicture()->pixmap().size(), QSize(50, 50));
        QApplication::sendEvent(d.box(F::ProjName), &enter);
        QCOMPARE(d.fm->sampleNote()->text(), QString());
        QCOMPARE(d.fm->sampleShown(), QString());
        // On again: nothing until the mouse comes over a box.
        sample->click();
        QCOMPARE(d.fm->sampleNote()->text(), QString());
        QApplication::sendEvent(d.box(F::SutGr), &enter);
        QCOMPARE(d.fm->sampleNote()->text(), QStringLiteral("см. фрагмент."));
    }

    void missingSampleShowsTheBlankSquare()
    {
        Dialog d;
        d.fm->showSample(QStringLiteral("dbchkNoSuchBox"));
        QCOMPARE(d.fm->sampleNote()->text(), QStringLiteral("файл не найден."));
        QCOMPARE(d.fm->samplePicture()->pixmap().size(), QSize(50, 50));
    }

    void emptySettingsTableDisablesTheControls()
    {
        Dialog d;
        d.report().removeAll();
        QVERIFY(!d.box(F::ProjName)->isEnabled());
        QVERIFY(!d.fm->findChild<QLineEdit *>("EditTopMargin")->isEnabled());
        d.fm->findChild<QWidget *>("udTopMargin")->findChild<QToolButton *>("up")->click();
        QVERIFY(d.rec.errors.isEmpty());
        // A new record is typed in through the navigator.
        d.nav("btnInsert");
        QVERIFY(d.box(F::ProjName)->isEnabled());
        d.click(F::ProjName);
        d.nav("btnPost");
        QCOMPARE(d.report().recordCount(), 1);
        QCOMPARE(storedFlag(d.t, "ProjName"), QVariant(true));
    }

    void reportCommandsWriteAndOpenTheDocument_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("variantTables");
        QTest::newRow("project report") << "mnWordReport" << 3;
        QTest::newRow("variant report") << "mnWordRepKU" << 1;
    }
    void reportCommandsWriteAndOpenTheDocument()
    {
        QFETCH(QString, command);
        QFETCH(int, variantTables);
        TestData t;
        MessageRecorder rec;
        RecordingOpener opener;
        QTemporaryDir out;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName, F::KUHar});
        TMainForm form(*t.data);
        form.word().setFolder(out.path());
        QAction *action = form.findChild<QAction *>(command);
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(rec.all, QStringList());
        QCOMPARE(opener.opened.size(), 1);
        QVERIFY(opener.opened.first().startsWith(out.path()));
        const SavedReport doc(opener.opened.first());
        QVERIFY(doc.ok);
        QCOMPARE(doc.paragraphTexts().mid(0, 2), (QStringList{"Полный отчет", "Цех №1."}));
        QCOMPARE(doc.paragraphTexts().filter("Характеристика конденсаторной установки").size(), variantTables);
        // The bar and the hourglass are back.
        QCOMPARE(form.progressBar()->value(), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // "Экспорт отчета в PDF..." of both menus: a PDF of LibreOffice's in the documents folder,
    // opened; the bar and the cursor back afterwards.
    void pdfCommandsWriteAndOpenThePdf_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("project report") << "mnPdfReport";
        QTest::newRow("variant report") << "mnPdfRepKU";
    }
    void pdfCommandsWriteAndOpenThePdf()
    {
        QFETCH(QString, command);
        if (findLibreOffice().isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: scripts/deps installs libreoffice-writer-nogui.");
        TestData t;
        MessageRecorder rec;
        RecordingOpener opener;
        QTemporaryDir out;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName, F::KUHar, F::SutGrKomp});
        TMainForm form(*t.data);
        form.word().setFolder(out.path());
        QAction *action = form.findChild<QAction *>(command);
        QCOMPARE(action->text().remove(u'&'), QStringLiteral("Экспорт отчета в PDF...")); // less its mnemonic
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(rec.all, QStringList());
        QCOMPARE(opener.opened.size(), 1);
        QVERIFY(opener.opened.first().startsWith(out.path()));
        QVERIFY(opener.opened.first().endsWith(QLatin1String(".pdf")));
        QFile pdf(opener.opened.first());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        // Nothing else is left in the folder: the .docx went through a temporary one.
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 1);
        QCOMPARE(form.progressBar()->value(), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void theReportUsesTheRecordChosenInTheDialog()
    {
        TestData t;
        MessageRecorder rec;
        RecordingOpener opener;
        QTemporaryDir out;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName});
        appendRow(*t.data->TableReport, {{"Name", "Без наименования"}, {"WordDoc", "новый"}, {"ProjHar", true}});
        TMainForm form(*t.data);
        form.word().setFolder(out.path());
        form.findChild<QAction *>("mnParRep")->trigger();
        TParRepFm *fm = form.parRepFm();
        QVERIFY(fm->isVisible());
        auto *grid = fm->findChild<CursorGrid *>("DBGrid1");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
        QCOMPARE(t.data->TableReport->asString("Name"), QStringLiteral("Полный отчет"));
        fm->close();
        form.findChild<QAction *>("mnWordReport")->trigger();
        QCOMPARE(opener.opened.size(), 1);
        QCOMPARE(SavedReport(opener.opened.first()).paragraphTexts().mid(0, 2),
                 (QStringList{"Полный отчет", "Цех №1."}));

        form.findChild<QAction *>("mnParRep")->trigger();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(grid->model()->rowCount() - 1, 0)).center());
        QCOMPARE(t.data->TableReport->asString("Name"), QStringLiteral("Без наименования"));
        fm->close();
        form.findChild<QAction *>("mnWordReport")->trigger();
        QCOMPARE(opener.opened.size(), 2);
        QVERIFY(opener.opened.last() != opener.opened.first());
        const QStringList texts = SavedReport(opener.opened.last()).paragraphTexts();
        QVERIFY(!texts.contains(QStringLiteral("Цех №1.")));
        QVERIFY(!texts.filter("Тариф").isEmpty());
    }
};

QTEST_MAIN(TestReportWindows)
#include "test_report_windows.moc"
