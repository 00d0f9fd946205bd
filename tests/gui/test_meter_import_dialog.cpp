// The dialog that makes a daily graph from a meter's file: what it shows and what it returns.
#include "gui/graphs/MeterImportDialog.h"
#include "gui/graphs/StepChart.h"
#include "MessageRecorder.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvan;

class TestMeterImportDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString week()
    {
        // Monday 7.12.2026 to Sunday 13.12.2026, 30-minute energies stamped at the end.
        QFile f(m_dir.filePath("week.csv"));
        f.open(QIODevice::WriteOnly);
        f.write("Время;Wp, кВтч;Wq, кВАрч\n");
        const QDateTime start(QDate(2026, 12, 7), QTime(0, 0));
        for (int i = 1; i <= 7 * 48; ++i) {
            const QDateTime stamp = start.addSecs(1800 * i);
            const int day = (i - 1) / 48;
            f.write(
                QString("%1;%2;%3\n").arg(stamp.toString("dd.MM.yyyy HH:mm")).arg(day < 5 ? 50 : 10).arg(20).toUtf8());
        }
        return f.fileName();
    }

private slots:
    void readsAndBuildsTheChosenDay()
    {
        test::MessageRecorder rec;
        MeterImportDialog dialog;
        QVERIFY(dialog.loadFile(week()));
        const QString found = dialog.findChild<QPlainTextEdit *>("memoFound")->toPlainText();
        QVERIFY2(found.contains("Интервал измерений: 30 мин"), qPrintable(found));
        QVERIFY(found.contains("энергии за интервал"));
        QVERIFY(found.contains("Сутки: 7 (с 07.12.2026 по 13.12.2026)."));
        auto *ok = dialog.findChild<QPushButton *>("btnOK");
        QVERIFY(ok->isEnabled());
        QCOMPARE(dialog.periods().size(), 24);
        QCOMPARE(dialog.periods().first().P, 100.0); // 50 kWh per half hour
        QCOMPARE(dialog.findChild<StepChart *>("Chart1")->seriesCount(), 2);

        dialog.findChild<QComboBox *>("cmbDay")->setCurrentIndex(6); // Sunday
        QCOMPARE(dialog.periods().first().P, 20.0);
        dialog.findChild<QRadioButton *>("rbMaxDay")->setChecked(true);
        QCOMPARE(dialog.periods().first().P, 100.0);
        dialog.findChild<QComboBox *>("cmbPeriod")->setCurrentIndex(0); // half hours
        QCOMPARE(dialog.periods().size(), 48);
        QVERIFY(rec.all.isEmpty());
    }

    void unreadableFileIsReported()
    {
        test::MessageRecorder rec;
        MeterImportDialog dialog;
        QFile f(m_dir.filePath("bad.csv"));
        f.open(QIODevice::WriteOnly);
        f.write("01.12.2026 01:00;5;1\n01.12.2026 02:00;пять;1\n");
        f.close();
        QVERIFY(!dialog.loadFile(f.fileName()));
        QCOMPARE(rec.errors, QStringList{"Строка 2: «пять» в столбце «Столбец 2» не является числом."});
        QVERIFY(!dialog.findChild<QPushButton *>("btnOK")->isEnabled());
        QVERIFY(dialog.periods().isEmpty());
    }
};

QTEST_MAIN(TestMeterImportDialog)
#include "test_meter_import_dialog.moc"
