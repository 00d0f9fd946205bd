// The resonance check through the command-line program: supply, the Detuning key of the
// catalogue, the supply and harmonics of import and export, and the resonance filter of analyse.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliSupply : public QObject {
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

    // 0–8 h: 100 kW, 80 kVAr; 8–24 h: 50 kW, 30 kVAr. Full compensation switches 70 and 30 kVAr.
    QByteArray project(const QString &supply)
    {
        return QString(
                   R"({"Name": "Цех", "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 24, "P": 50, "Q": 30}],
            %1 "variants": [{"Company": "Резонанс", "TipKU": "КУ-70"}, {"Company": "Резонанс", "TipKU": "КУФ-70-7%"}]})")
            .arg(supply)
            .toUtf8();
    }

    int importProject(const QString &supply)
    {
        const Run r = cli({"import", "-"}, project(supply));
        if (r.code != 0)
            qWarning() << r.err;
        return r.code == 0 ? r.json()["Kod"].toInt() : -1;
    }

    // The five values of the 70 and 30 kVAr switched on a 1750 kVA bus, numbers to their last digit
    // as R gives them (7,64 is 764 · 0,01).
    static void checkHarmonics(const QJsonObject &h, const QJsonArray &resonance)
    {
        QCOMPARE(h.keys(), (QStringList{"Hours_lead", "Hr_max", "Hr_min", "Resonance", "dU_max"}));
        QCOMPARE(h["Hr_min"].toDouble(), 5.0);
        QCOMPARE(h["Hr_max"].toDouble(), 7.64);
        QCOMPARE(h["Resonance"].toArray(), resonance);
        QCOMPARE(h["dU_max"].toDouble(), 4.0);
        QCOMPARE(h["Hours_lead"].toDouble(), 0.0);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Run r = cli({"catalogue-import", "-"}, R"([{"Company": "Резонанс", "types": [
            {"Name": "КУ-70", "Q": 70, "Pp": 0.005, "Unom": 400, "Cena": 10000, "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 10, "Kol_vo": 1}, {"Qstup": 5, "Kol_vo": 2}]},
            {"Name": "КУФ-70-7%", "Q": 70, "Pp": 0.006, "Unom": 400, "Cena": 20000, "Detuning": 7, "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 10, "Kol_vo": 1}, {"Qstup": 5, "Kol_vo": 2}]}]}])");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
    }

    void catalogueCarriesDetuning()
    {
        const Run r = cli({"catalogue-export"});
        QCOMPARE(r.code, 0);
        QJsonObject plain, detuned;
        for (const QJsonValue &c : r.json().array())
            for (const QJsonValue &t : c["types"].toArray()) {
                if (t["Name"].toString() == "КУ-70")
                    plain = t.toObject();
                if (t["Name"].toString() == "КУФ-70-7%")
                    detuned = t.toObject();
            }
        QVERIFY(plain["Detuning"].isNull());
        QCOMPARE(detuned["Detuning"].toDouble(), 7.0);

        // A bad value names the key's field and adds nothing.
        const int before = cli({"catalogue-export"}).json().array().size();
        const Run bad = cli(
            {"catalogue-import", "-"},
            R"([{"Company": "Плохая", "types": [{"Name": "X", "Q": 5, "Pp": 0.005, "Unom": 400, "Cena": 1, "Detuning": 120, "modules": [{"Qstup": 5, "Kol_vo": 1}]}]}])");
        QCOMPARE(bad.code, 2);
        QCOMPARE(bad.err, QStringLiteral("Значение поля \"p, %\" должно быть не меньше 0 и меньше 100."));
        QCOMPARE(cli({"catalogue-export"}).json().array().size(), before);
    }

    void importExportAndSupply()
    {
        const int kod =
            importProject(R"("supply": {"Str": 70, "Uk": 4, "Ssc_net": null, "Harmonics": [5, 7, 11, 13]},)");
        QVERIFY(kod > 0);
        Run r = cli({"export", QString::number(kod)});
        QCOMPARE(r.code, 0);
        QJsonObject e = r.json().object();
        QCOMPARE(
            e["supply"].toObject(),
            QJsonDocument::fromJson(R"({"Str": 70, "Uk": 4, "Ssc_net": null, "Harmonics": [5, 7, 11, 13]})").object());
        const QJsonArray variants = e["project2.db"].toArray();
        QCOMPARE(variants.size(), 2);
        // Ssc = 1750 kVA: h(70) = 5, h(30) = 7,64; the 7 % reactor tunes the second below the 5th.
        checkHarmonics(variants[0]["harmonics"].toObject(), {5, 7});
        QCOMPARE(variants[1]["harmonics"]["Resonance"].toArray(), QJsonArray());
        QCOMPARE(variants[1]["harmonics"]["dU_max"].toDouble(), 4.0);

        // supply replaces it; a refused value names its field and changes nothing.
        r = cli(
            {"supply", QString::number(kod), "--str", "1000", "--uk", "6", "--ssc-net", "500", "--harmonics", "5,7"});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.json()["supply"]["Ssc_net"].toDouble(), 500.0);
        const QJsonObject h = cli({"export", QString::number(kod)}).json()["project2.db"][0]["harmonics"].toObject();
        QCOMPARE(h["Hr_min"].toDouble(), 15.18); // √(16129,03 / 70)
        QCOMPARE(h["Resonance"].toArray(), QJsonArray());

        r = cli({"supply", QString::number(kod), "--str", "1000", "--uk", "25"});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Значение поля \"Напряжение короткого замыкания трансформатора uк, %\" должно "
                                       "быть больше 0 и не больше 20."));
        r = cli({"supply", QString::number(kod), "--uk", "6", "--harmonics", "1,5"});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Введите значение поля \"Номинальная мощность трансформатора Sт, кВА\"."));
        QCOMPARE(cli({"export", QString::number(kod)}).json()["supply"]["Uk"].toDouble(), 6.0);

        r = cli({"supply", QString::number(kod), "--clear"});
        QCOMPARE(r.code, 0);
        e = cli({"export", QString::number(kod)}).json().object();
        QVERIFY(e["supply"].isNull());
        QVERIFY(e["project2.db"][0]["harmonics"]["Resonance"].isNull());
    }

    void importRefusesBadSupply()
    {
        const int projects = cli({"list"}).json().array().size();
        const Run r = cli({"import", "-"}, project(R"("supply": {"Str": 70, "Uk": 4, "Harmonics": [5, 60]},)"));
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Ошибка в «supply.Harmonics[1]»: значение 60 больше допустимого 50."));
        QCOMPARE(cli({"list"}).json().array().size(), projects);
    }

    void analyseDropsResonance()
    {
        const int kod = importProject(R"("supply": {"Str": 70, "Uk": 4},)");
        QVERIFY(kod > 0);
        Run r = cli({"analyse", QString::number(kod), "--company", "Резонанс"});
        QCOMPARE(r.err, QString());
        QJsonArray rows = r.json()["rows"].toArray();
        QCOMPARE(rows.size(), 2);
        for (const QJsonValue &row : rows)
            QVERIFY(row["harmonics"]["Resonance"].isArray());
        r = cli({"analyse", QString::number(kod), "--drop", "resonance"});
        QCOMPARE(r.err, QString());
        rows = r.json()["rows"].toArray();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].toObject()["TipKU"].toString(), QStringLiteral("КУФ-70-7%"));
        checkHarmonics(rows[0].toObject()["harmonics"].toObject(), {});
    }
};

QTEST_GUILESS_MAIN(TestCliSupply)
#include "test_cli_supply.moc"
