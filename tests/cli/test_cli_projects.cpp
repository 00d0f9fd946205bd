// The project and catalogue commands of the command-line program, as a user runs them.
#include "cli/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliProjects : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
        QJsonDocument json() const { return QJsonDocument::fromJson(out); }
    };

    QTemporaryDir m_dir;

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

    QString write(const QString &name, const QByteArray &text)
    {
        QFile f(m_dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    }

    QByteArray projectJson(const QString &variants)
    {
        return QString(
                   R"({"Name": "Цех 1", "ProjOwner": "Завод", "ProjMemo": "примечание", "MonthDay": 21, "YearDay": 260,
            "Tarif_a": "0.715", "Tarif_q": "0,02",
            "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 24, "P": 50, "Q": 30}],
            "variants": [%1]})")
            .arg(variants)
            .toUtf8();
    }

    int rowCount(const char *listCommand = "list") { return cli({listCommand}).json().array().size(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Run r = cli({"catalogue-import", "-"}, R"([{"Company": "Тест", "types": [
            {"Name": "КУ-75", "Q": 75, "Pp": 0.005, "Unom": 400, "Cena": 10000, "modules": [{"Qstup": 50, "Kol_vo": 1}, {"Qstup": 25, "Kol_vo": 1}]},
            {"Name": "КУ-пусто", "Q": 10, "Pp": 0.005, "Unom": 400, "Cena": null, "modules": []}]}])");
        QCOMPARE(r.code, 0);
        const QJsonArray added = r.json().array();
        QCOMPARE(added.size(), 2);
        QCOMPARE(added[0]["Company"].toString(), QStringLiteral("Тест"));
        QCOMPARE(added[1]["KodKU1"].toInt(), added[0]["KodKU1"].toInt() + 1);
    }

    // Editing the tariffs and days through `project` leaves exactly what a fresh import with them
    // gives; a value the checks refuse changes nothing.
    void projectEditEqualsFreshImport()
    {
        const QString variant = R"({"VarNum": 1, "Company": "Тест", "TipKU": "КУ-75"})";
        Run r = cli({"import", write("edit.json", projectJson(variant))});
        QCOMPARE(r.code, 0);
        const QString kod = QString::number(r.json()["Kod"].toInt());
        const QByteArray before = cli({"export", kod}).out;

        r = cli({"project", kod, "--tarif-a", "-1"});
        QCOMPARE(r.code, 2);
        QVERIFY2(!r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(cli({"export", kod}).out, before);

        r = cli({"project", kod, "--tarif-a", "1.2", "--tarif-q", "0,05", "--month-day", "22", "--year-day", "250",
                 "--owner", "Другой завод"});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        const QJsonObject printed = r.json().object();
        QCOMPARE(printed["Tarif_a"].toDouble(), 1.2);
        QCOMPARE(printed["ProjOwner"].toString(), QStringLiteral("Другой завод"));
        const QJsonObject edited = cli({"export", kod}).json().object();
        QCOMPARE(printed, edited["project0.db"].toObject());

        QByteArray fresh = projectJson(variant);
        fresh.replace(R"("ProjOwner": "Завод")", R"("ProjOwner": "Другой завод")");
        fresh.replace(R"("MonthDay": 21, "YearDay": 260)", R"("MonthDay": 22, "YearDay": 250)");
        fresh.replace(R"("Tarif_a": "0.715", "Tarif_q": "0,02")", R"("Tarif_a": 1.2, "Tarif_q": 0.05)");
        r = cli({"import", write("fresh.json", fresh)});
        QCOMPARE(r.code, 0);
        const QJsonObject imported = cli({"export", QString::number(r.json()["Kod"].toInt())}).json().object();
        // Keys, date and time aside, the two are the same to the last digit.
        const auto withoutKeys = [](QJsonValue v, const auto &self) -> QJsonValue {
            if (v.isArray()) {
                QJsonArray a;
                for (const QJsonValue &x : v.toArray())
                    a.append(self(x, self));
                return a;
            }
            if (!v.isObject())
                return v;
            QJsonObject o = v.toObject();
            for (const char *k : {"Kod", "Kod0", "ProjDate", "ProjTime"})
                o.remove(QLatin1String(k));
            for (auto it = o.begin(); it != o.end(); ++it)
                *it = self(*it, self);
            return o;
        };
        QCOMPARE(withoutKeys(edited, withoutKeys), withoutKeys(imported, withoutKeys));
        QVERIFY(edited["project2.db"].toArray()[0].toObject()["D$Ws_g"].toDouble() !=
                QJsonDocument::fromJson(before).object()["project2.db"].toArray()[0].toObject()["D$Ws_g"].toDouble());
    }

    void importExportRoundTrip()
    {
        Run r = cli(
            {"import",
             write(
                 "p.json",
                 projectJson(
                     R"({"VarNum": 1, "Kp": 0.12, "Company": "Тест", "TipKU": "КУ-75", "Rejim": "cos(f) не менее заданного значения", "Cosf_min": 0.95, "Cosf_tr": 0.9})"))});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        const int kod = r.json()["Kod"].toInt();
        r = cli({"export", QString::number(kod)});
        QCOMPARE(r.code, 0);
        // Keys in table order.
        QVERIFY(r.out.startsWith(
            QStringLiteral("{\"project0.db\":{\"Kod\":%1,\"Name\":\"Цех 1\",\"ProjOwner\"").arg(kod).toUtf8()));
        const QJsonObject e = r.json().object();
        const QJsonObject p0 = e["project0.db"].toObject();
        QCOMPARE(p0["Ws_m"].toDouble(), 41106.45);
        QCOMPARE(p0["ProjDate"].toString(), QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(QTime::fromString(p0["ProjTime"].toString(), "HH:mm:ss").isValid());
        QCOMPARE(p0["ProjMemo"].toString(), QStringLiteral("примечание"));
        QCOMPARE(e["project1.db"].toArray().size(), 2);
        const QJsonObject v = e["project2.db"].toArray()[0].toObject();
        QCOMPARE(v["Cosf_min"].toDouble(), 0.95);
        QVERIFY(v["Cosf_tr"].isNull()); // only what the mode uses is kept
        QVERIFY(v["Cosf_max"].isNull());
        QCOMPARE(v["project5.DB"].toArray().size(), 2);
        QCOMPARE(v["project3.DB"].toArray().size(), 2);
        QVERIFY(v["project3.DB"].toArray()[0].toObject().contains("project4.DB"));
        QCOMPARE(cli({"recalc", QString::number(kod)}).code, 0);
        const QJsonObject again = cli({"export", QString::number(kod)}).json().object();
        QCOMPARE(again, e); // nothing changed, so nothing moves

        r = cli({"copy", QString::number(kod)});
        QCOMPARE(r.code, 0);
        const int copy = r.json()["Kod"].toInt();
        const QJsonObject c = cli({"export", QString::number(copy)}).json().object();
        QCOMPARE(c["project0.db"].toObject()["Name"].toString(), QStringLiteral("Цех 1_1"));
        QCOMPARE(c["project2.db"].toArray()[0].toObject()["Srok"], v["Srok"]);
        r = cli({"copy", QString::number(kod), "--name", "Другой"});
        QCOMPARE(
            cli({"export", r.json()["Kod"].toVariant().toString()}).json()["project0.db"].toObject()["Name"].toString(),
            QStringLiteral("Другой"));

        const int before = rowCount();
        QCOMPARE(cli({"delete", QString::number(kod)}).code, 0);
        QCOMPARE(rowCount(), before - 1);
        r = cli({"export", QString::number(kod)});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Проект с кодом %1 не найден.").arg(kod));
    }

    // The command line takes a decimal point in numbers given as text, in JSON and in options; a
    // wrong number is named in the program's own form.
    void decimalPointOnlyInNumbers()
    {
        Run r = cli(
            {"import",
             write(
                 "point.json",
                 projectJson(
                     R"({"VarNum": "4", "Kp": "0.12", "Company": "Тест", "TipKU": "КУ-75", "Rejim": "cos(f) не менее заданного значения", "Cosf_min": "0.95"})"))});
        QCOMPARE(r.err, QString());
        const QString kod = QString::number(r.json()["Kod"].toInt());
        const QJsonObject e = cli({"export", kod}).json().object();
        QCOMPARE(e["project0.db"].toObject()["Tarif_a"].toDouble(), 0.715);
        const QJsonObject v = e["project2.db"].toArray()[0].toObject();
        QCOMPARE(v["Kp"].toDouble(), 0.12);
        QCOMPARE(v["Cosf_min"].toDouble(), 0.95);

        r = cli({"economics", kod, "--rate", "12.5"});
        QCOMPARE(r.json()["Rate"].toDouble(), 12.5);
        r = cli({"economics", kod, "--rate", "0.5x"});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains("0,5x"), qPrintable(r.err));
        QCOMPARE(cli({"delete", kod}).code, 0);
    }

    // Nothing switched on in any period: the final yearly saving is 0, so an imported variant has
    // no payback, whatever a part of its periods would have given; a copy and a recalculation keep it.
    void paybackOnlyFromTheFinalSaving()
    {
        const QByteArray project =
            R"({"Name": "Без экономии", "MonthDay": 21, "YearDay": 260, "Tarif_a": 0.715, "Tarif_q": 0.02,
            "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 10}, {"T1": 8, "T2": 24, "P": 50, "Q": 5}],
            "variants": [{"Company": "ЭнергоКосинус-Запад", "TipKU": "УКРМ-0,4-50-5 У3",
                          "Rejim": "минимальное отклонение cos(f) от требуемого значения", "Cosf_tr": 0.9}]})";
        Run r = cli({"import", write("saving0.json", project)});
        QCOMPARE(r.err, QString());
        const QString kod = QString::number(r.json()["Kod"].toInt());
        const auto variant = [&](const QString &k) {
            return cli({"export", k}).json()["project2.db"].toArray()[0].toObject();
        };
        QJsonObject v = variant(kod);
        QCOMPARE(v["Cena"].toDouble(), 29200.0);
        QCOMPARE(v["D$Ws_g"].toDouble(), 0.0);
        QVERIFY2(v["Srok"].isNull(), qPrintable(QString::number(v["Srok"].toDouble())));
        QCOMPARE(cli({"recalc", kod}).code, 0);
        QVERIFY(variant(kod)["Srok"].isNull());
        r = cli({"copy", kod});
        QCOMPARE(r.code, 0);
        QVERIFY(variant(QString::number(r.json()["Kod"].toInt()))["Srok"].isNull());
    }

    void importFromTypicalGraph()
    {
        Run r = cli({"import", "-"},
                    R"({"Name": "Т", "typical": {"Otrasl": "нет такой", "Name": "x", "Pmax": 100, "Qmax": 50}})");
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Отрасль «нет такой» не найдена в справочнике суточных графиков."));
        // The first delivered enterprise, scaled: whole kW and kVAr, one period per catalogue period.
        Q_INIT_RESOURCE(seed);
        QFile seed(":/seed/typical_graphs.json");
        QVERIFY(seed.open(QIODevice::ReadOnly));
        const QJsonObject industry = QJsonDocument::fromJson(seed.readAll()).array()[0].toObject();
        const QJsonObject enterprise = industry["enterprises"].toArray()[0].toObject();
        QJsonObject typical{{"Otrasl", industry["Otrasl"]}, {"Name", enterprise["Name"]}, {"Pmax", 0}, {"Qmax", 50}};
        const auto import = [&] {
            return cli({"import", "-"}, QJsonDocument(QJsonObject{{"typical", typical}}).toJson());
        };
        r = import();
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Значение максимальной активной мощности должно быть больше 0."));
        typical["Pmax"] = 250;
        r = import();
        QCOMPARE(r.code, 0);
        const QJsonArray periods =
            cli({"export", QString::number(r.json()["Kod"].toInt())}).json()["project1.db"].toArray();
        const QJsonArray source = enterprise["periods"].toArray();
        QCOMPARE(periods.size(), source.size());
        for (int i = 0; i < periods.size(); ++i) {
            const double p = periods[i].toObject()["P"].toDouble();
            QCOMPARE(p, std::nearbyint(250 * source[i].toObject()["P"].toDouble() / 100));
            QCOMPARE(periods[i].toObject()["T2"].toDouble(), source[i].toObject()["T2"].toDouble());
        }
    }

    // A failure anywhere leaves the store as it was: here the third variant names an unknown type.
    void failedImportWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("error");
        const QString ok = R"({"VarNum": %1, "Company": "Тест", "TipKU": "КУ-75"})";
        QTest::newRow("third variant unknown")
            << projectJson(ok.arg(1) + "," + ok.arg(2) + R"(,{"VarNum": 3, "Company": "Тест", "TipKU": "нет"})")
            << "«TipKU»: конденсаторная установка «нет» не найдена у компании «Тест».\nВариант 3 в файле.";
        QTest::newRow("third variant duplicate")
            << projectJson(ok.arg(1) + "," + ok.arg(2) + "," + ok.arg(2))
            << "Таблица конденсаторных установок уже содержит вариант компенсации с наименованием \"2\". Введите "
               "другое наименование варианта компенсации.\nВариант 3 в файле.";
        QTest::newRow("type without modules")
            << projectJson(R"({"VarNum": 1, "Company": "Тест", "TipKU": "КУ-пусто"})")
            << "У конденсаторной установки «КУ-пусто» нет модулей.\nВариант 1 в файле.";
        QTest::newRow("graph with a gap")
            << QByteArray(
                   R"({"Name": "Г", "periods": [{"T1": 0, "T2": 8, "P": 1, "Q": 1}, {"T1": 9, "T2": 24, "P": 1, "Q": 1}]})")
            << "Значение поля \"Т2\" предыдущего периода замеров должно равняться значению поля \"Т1\" последующего "
               "периода.\nПериод 2, поле «T1».";
        QTest::newRow("year not above month") << QByteArray(R"({"Name": "Г", "MonthDay": 21, "YearDay": 21})")
                                              << "Значение поля \"Среднее количество рабочих дней в году\" должно быть "
                                                 "больше значения поля \"Среднее количество рабочих дней в месяце\".";
        QTest::newRow("unknown mode")
            << projectJson(R"({"VarNum": 1, "Company": "Тест", "TipKU": "КУ-75", "Rejim": "максимум"})")
            << "Неизвестный режим подбора модулей КУ: «максимум».\nВариант 1 в файле.";
        QTest::newRow("not JSON") << QByteArray("{\"Name\": ") << "";
    }
    void failedImportWritesNothing()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, error);
        const QByteArray before = cli({"list"}).out;
        const Run r = cli({"import", "-"}, input);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        if (error.isEmpty())
            QVERIFY(r.err.startsWith("Файл «стандартный ввод» не является правильным JSON"));
        else
            QCOMPARE(r.err, error);
        QCOMPARE(cli({"list"}).out, before);
    }

    void catalogueCheckRefusesAndWritesNothing()
    {
        const QByteArray before = cli({"catalogue-export"}).out;
        const Run r = cli({"catalogue-import", "-"},
                          R"([{"Company": "Новая", "types": [{"Name": "А", "Q": 5, "Pp": 0.005, "Cena": 1}]}])");
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Заполнение всех полей, кроме поля \"Цена\", обязательно."));
        QCOMPARE(cli({"catalogue-export"}).out, before);
        // An existing company is reused.
        const Run ok = cli(
            {"catalogue-import", "-"},
            R"([{"Company": "Тест", "types": [{"Name": "Б", "Q": 5, "Pp": 0.005, "Unom": 400, "modules": [{"Qstup": 5, "Kol_vo": 1}]}]}])");
        QCOMPARE(ok.code, 0);
        const QJsonArray all = cli({"catalogue-export"}).json().array();
        int test = 0;
        for (const QJsonValue &c : all)
            if (c["Company"].toString() == "Тест") {
                ++test;
                QCOMPARE(c["types"].toArray().size(), 3);
                QVERIFY(c["types"].toArray()[2].toObject()["Cena"].isNull());
            }
        QCOMPARE(test, 1);
    }

    // Texts are written in JSON exactly as Qt's own writer escapes them, the plain ones quickly.
    void textsAsJson_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QStringLiteral("УКМ-58 0,4-100-25 У3 (Кн=1)");
        QTest::newRow("empty") << QString();
        QTest::newRow("quote and backslash") << QStringLiteral("\"Тест\" C:\\путь");
        QTest::newRow("controls") << QStringLiteral("а\tб\nв\rг") + QChar(0x01) + QChar(0x7f);
        QTest::newRow("outside the basic plane") << QStringLiteral("ёмкость 😀");
        QTest::newRow("unpaired surrogate") << QStringLiteral("x") + QChar(0xd800) + QStringLiteral("y");
    }
    void textsAsJson()
    {
        QFETCH(QString, text);
        const QByteArray qt = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        QCOMPARE(korvan::cli::json::string(text), qt.mid(1, qt.size() - 2));
    }
};

QTEST_GUILESS_MAIN(TestCliProjects)
#include "test_cli_projects.moc"
