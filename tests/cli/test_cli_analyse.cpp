// The analysis table through the command-line program: options, output and refusals.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliAnalyse : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
        QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
        QJsonArray rows() const { return json()["rows"].toArray(); }
    };

    QTemporaryDir m_dir;
    QString m_project, m_other;
    QList<int> m_types; // КУ-75, УКМ-70, КУ-пусто

    Run cli(const QStringList &args, const QByteArray &input = {})
    {
        QProcess p;
        p.start(qEnvironmentVariable("KORVAN_CLI"), QStringList{"--data", m_dir.path()} + args);
        if (!input.isEmpty())
            p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
    }

    Run analyse(const QString &project, const QStringList &args = {})
    {
        return cli(QStringList{"analyse", project} + args);
    }

    QString importProject(const QString &name)
    {
        const Run r = cli({"import", "-"},
                          QString(R"({"Name": "%1", "MonthDay": 21, "YearDay": 260, "Tarif_a": 0.715, "Tarif_q": 0.02,
            "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 24, "P": 50, "Q": 30}]})")
                              .arg(name)
                              .toUtf8());
        return QString::number(r.json()["Kod"].toInt());
    }

    static QStringList column(const QJsonArray &rows, const QString &field)
    {
        QStringList out;
        for (const QJsonValue &r : rows)
            out << r[field].toVariant().toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Run r = cli({"catalogue-import", "-"}, R"([{"Company": "Тест", "types": [
            {"Name": "КУ-75", "Q": 75, "Pp": 0.005, "Unom": 400, "Cena": 10000, "modules": [{"Qstup": 50, "Kol_vo": 1}, {"Qstup": 25, "Kol_vo": 1}]},
            {"Name": "УКМ-70", "Q": 70, "Pp": 0.005, "Unom": 400, "Cena": 35000, "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 10, "Kol_vo": 1}, {"Qstup": 5, "Kol_vo": 2}]},
            {"Name": "КУ-пусто", "Q": 10, "Pp": 0.005, "Unom": 400, "Cena": null, "modules": []}]}])");
        QCOMPARE(r.code, 0);
        for (const QJsonValue &t : QJsonDocument::fromJson(r.out).array())
            m_types << t["KodKU1"].toInt();
        m_project = importProject("Анализ");
        m_other = importProject("Другой");
    }

    void oneTypeWithItsMode()
    {
        const Run r = analyse(m_project, {"--type", QString::number(m_types[1]), "--mode", "1", "--cosf-max", "0.98",
                                          "--cosf-min", "0,5", "--kp", "0,12"});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith("{\"rows\":[{\"Kod\":"));
        const QJsonObject out = r.json();
        QCOMPARE(out.keys(), (QStringList{"optimum", "optimum_npv", "range", "rows"}));
        const QJsonObject row = r.rows()[0].toObject();
        // Every field of the table, in its order.
        QVERIFY(QString::fromUtf8(r.out).contains(QRegularExpression(
            "\\{\"Kod\":\\d+,\"Kod0\":\\d+,\"KodKU0\":\\d+,\"KodKU1\":\\d+,\"Company\":\"Тест\",\"TipKU\":\"УКМ-70\","
            "\"Qk\":70,\"Qku_min\":15,\"Qku_max\":55,\"Cosf_sr\":[\\d.]+,\"Cosf_min\":[\\d.]+,\"Cosf_max\":[\\d.]+,"
            "\"Tgf_sr\":[\\d.]+,\"DSWsk\":[\\d.]+,\"DSWskm\":[\\d.]+,\"DSWskg\":[\\d.]+,\"Srok\":2.75,"
            "\"Rejim\":\"cos\\(f\\) не более заданного значения\",\"PCosf_min\":null,\"PCosf_max\":0.98,"
            "\"PCosf_tr\":null,\"NPV\":-?[\\d.]+,\"IRR\":-?[\\d.]+,\"DPP\":[\\d.]+,\"harmonics\":\\{")));
        QCOMPARE(row["Kod0"].toInt(), m_project.toInt());
        QCOMPARE(row["KodKU1"].toInt(), m_types[1]);
        QCOMPARE(out["optimum"].toInt(), row["Kod"].toInt());
        QCOMPARE(out["range"].toString(), QStringLiteral("20 - 60"));
        // The other project has none of it.
        const Run other = analyse(m_other);
        QCOMPARE(other.rows().size(), 0);
        QVERIFY(other.json()["optimum"].isNull());
        QCOMPARE(other.json()["range"].toString(), QStringLiteral("30 - 80"));
    }

    void companySortedAndFiltered()
    {
        Run r = analyse(m_project, {"--clear", "--company", "Тест", "--sort", "siDSWskg"});
        QCOMPARE(r.code, 0);
        const QJsonArray rows = r.rows();
        QCOMPARE(column(rows, "TipKU").size(), 3);
        QCOMPARE(column(rows, "Rejim"), QStringList(3, "полная компенсация"));
        for (int i = 1; i < rows.size(); ++i)
            QVERIFY(rows[i - 1].toObject()["DSWskg"].toDouble() >= rows[i].toObject()["DSWskg"].toDouble());
        QCOMPARE(r.json()["optimum"].toInt(), rows[0].toObject()["Kod"].toInt()); // mode 0: highest daily cos(f)

        // The default order is by payback, an empty one first.
        r = analyse(m_project);
        QVERIFY(r.rows()[0].toObject()["Srok"].isNull());
        QCOMPARE(r.rows().size(), 3);

        r = analyse(m_project, {"--drop", "invalid", "--drop", "daily-value:<:0.9", "--sort", "siCosf_sr"});
        QCOMPARE(r.code, 0);
        QCOMPARE(column(r.rows(), "TipKU"), (QStringList{"КУ-75", "УКМ-70"}));
        QCOMPARE(analyse(m_project).rows().size(), 2); // deleted for good

        // Rows evaluated with mode 2 and a limit they miss go with the daily criteria.
        r = analyse(m_project, {"--all-companies", "--mode", "2", "--cosf-min", "0,99"});
        QCOMPARE(r.code, 0);
        const int all = r.rows().size();
        QVERIFY(all > 20); // the delivered catalogue too
        r = analyse(m_project, {"--drop", "daily-criteria"});
        QCOMPARE(r.code, 0);
        for (const QJsonValue &row : r.rows())
            QVERIFY(row["Rejim"].toString() == "полная компенсация" || row["Cosf_sr"].toDouble() >= 0.99);
        QVERIFY(r.rows().size() < all);
    }

    void pointOrComma()
    {
        const QStringList type{"--clear", "--type", QString::number(m_types[0]), "--mode", "4"};
        const Run comma = analyse(m_other, type + QStringList{"--cosf-tr", "0,95", "--kp", "0,1"});
        const Run point = analyse(m_other, type + QStringList{"--cosf-tr", "0.95", "--kp", "0.1"});
        QCOMPARE(comma.code, 0);
        QCOMPARE(point.code, 0);
        QJsonObject a = comma.rows()[0].toObject(), b = point.rows()[0].toObject();
        a.remove("Kod");
        b.remove("Kod");
        QCOMPARE(a, b);
        QCOMPARE(a["PCosf_tr"].toDouble(), 0.95);
    }

    // Every refusal exits with 2, prints nothing and leaves the table as it was, even after --clear.
    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::newRow("mode") << QStringList{"--mode", "5"} << "Режим подбора «5» должен быть числом от 0 до 4.";
        QTest::newRow("loss coefficient")
            << QStringList{"--clear", "--kp", "0"} << "Значение коэффициента потерь должно быть больше 0.";
        QTest::newRow("cos above 1") << QStringList{"--clear", "--mode", "4", "--cosf-tr", "1.2"}
                                     << "Значение коэффициента мощности должно быть меньше либо равно 1.";
        QTest::newRow("minimum above maximum")
            << QStringList{"--clear", "--mode", "3", "--cosf-min", "0,95", "--cosf-max", "0,9"}
            << "Значение минимального значения коэффициента мощности должно быть меньше максимального значения "
               "коэффициента мощности.";
        QTest::newRow("unknown type") << QStringList{"--clear", "--type", "99999"}
                                      << "Конденсаторная установка не найдена.";
        QTest::newRow("type without modules, after clearing")
            << QStringList{"--clear", "--type", "EMPTY"} << "У конденсаторной установки «КУ-пусто» нет модулей.";
        QTest::newRow("unknown company") << QStringList{"--company", "Нет"}
                                         << "Компания «Нет» не найдена в справочнике конденсаторных установок.";
        QTest::newRow("two sources") << QStringList{"--company", "Тест", "--all-companies"}
                                     << "Укажите только одно из --type, --company и --all-companies.";
        QTest::newRow("sort") << QStringList{"--sort", "Kod0Cosf"} << "Неизвестный порядок сортировки «Kod0Cosf».";
        QTest::newRow("drop") << QStringList{"--clear", "--drop", "all"} << "Неизвестный фильтр «all».";
        QTest::newRow("comparison") << QStringList{"--drop", "daily-value:<>:0.9"}
                                    << "Неизвестное сравнение «<>» в фильтре «daily-value:<>:0.9».";
        QTest::newRow("filter value") << QStringList{"--clear", "--drop", "period-value:<:"}
                                      << "Введите значение коэффициента мощности.";
        QTest::newRow("filter value above 1") << QStringList{"--drop", "period-value:>=:1,5"}
                                              << "Значение коэффициента мощности должно быть меньше либо равно 1.";
        QTest::newRow("extra argument") << QStringList{"--cosf"} << "Лишний параметр «--cosf».";
    }
    void refusalsWriteNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        args.replaceInStrings("EMPTY", QString::number(m_types[2]));
        const QByteArray before = analyse(m_project).out;
        QVERIFY(QJsonDocument::fromJson(before)["rows"].toArray().size() > 0);
        const Run r = analyse(m_project, args);
        QCOMPARE(r.err, error);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(analyse(m_project).out, before);
    }

    void unknownProject()
    {
        const Run r = analyse("99999");
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Проект с кодом 99999 не найден."));
    }

    // The rows of a deleted project keep its code, which no new project takes.
    void newProjectStartsEmpty()
    {
        QCOMPARE(analyse(m_other, {"--company", "Тест"}).code, 0);
        const int rows = analyse(m_other).rows().size();
        QVERIFY(rows > 0);
        QCOMPARE(cli({"delete", m_other}).code, 0);
        const QString next = importProject("Новый");
        QVERIFY(next != m_other);
        QCOMPARE(analyse(next).rows().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCliAnalyse)
#include "test_cli_analyse.moc"
