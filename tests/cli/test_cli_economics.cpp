// The economic parameters and figures through the command-line program.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliEconomics : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
        QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    };

    QTemporaryDir m_dir;
    QList<int> m_types;

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

    QString importProject(const QByteArray &economics)
    {
        const Run r = cli({"import", "-"}, R"({"Name": "Эк", "Tarif_a": 0.715, "Tarif_q": 0.02,
            "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 24, "P": 50, "Q": 30}],
            "variants": [{"Company": "Тест", "TipKU": "КУ-75", "VarNum": 1}])" +
                                               economics + "}");
        if (r.code != 0)
            qWarning() << r.err;
        return QString::number(r.json()["Kod"].toInt());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Run r = cli({"catalogue-import", "-"}, R"([{"Company": "Тест", "types": [
            {"Name": "КУ-75", "Q": 75, "Pp": 0.005, "Unom": 400, "Cena": 10000, "modules": [{"Qstup": 50, "Kol_vo": 1}, {"Qstup": 25, "Kol_vo": 1}]},
            {"Name": "УКМ-70", "Q": 70, "Pp": 0.005, "Unom": 400, "Cena": 35000, "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 10, "Kol_vo": 1}, {"Qstup": 5, "Kol_vo": 2}]},
            {"Name": "КУ-без цены", "Q": 75, "Pp": 0.005, "Unom": 400, "Cena": null, "modules": [{"Qstup": 75, "Kol_vo": 1}]}]}])");
        QCOMPARE(r.code, 0);
        for (const QJsonValue &t : QJsonDocument::fromJson(r.out).array())
            m_types << t["KodKU1"].toInt();
    }

    void printsAndSets()
    {
        const QString kod = importProject({});
        Run r = cli({"economics", kod});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), QByteArray(R"({"Rate":10,"Life":15,"Maint":1,"Mont":0})"));
        r = cli({"economics", kod, "--rate", "7.5", "--mont", "3,5"});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out.trimmed(), QByteArray(R"({"Rate":7.5,"Life":15,"Maint":1,"Mont":3.5})"));
        QCOMPARE(cli({"economics", kod}).out.trimmed(), QByteArray(R"({"Rate":7.5,"Life":15,"Maint":1,"Mont":3.5})"));
    }

    void refusesOutOfRange_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("life") << QStringList{"--life", "50"}
                              << "Значение поля \"Срок службы установки, лет\" должно быть в пределах от 1 до 40.";
        QTest::newRow("upkeep")
            << QStringList{"--rate", "5", "--maint", "-1"}
            << "Значение поля \"Ежегодное обслуживание, % от цены\" должно быть в пределах от 0 до 20.";
    }
    void refusesOutOfRange()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString kod = importProject({});
        const Run r = cli(QStringList{"economics", kod} + args);
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, message);
        QCOMPARE(cli({"economics", kod}).out.trimmed(), QByteArray(R"({"Rate":10,"Life":15,"Maint":1,"Mont":0})"));
    }

    // C = 10000 * 1,02; A = S - 10000 * 0,5 %; r = 0: NPV = -C + 20 A, DPP = C / A.
    void importAndExport()
    {
        const QString kod = importProject(R"(, "economics": {"Rate": 0, "Life": 20, "Maint": "0,5", "Mont": 2})");
        const QJsonObject e = cli({"export", kod}).json();
        QCOMPARE(e["economics"].toObject(), (QJsonObject{{"Rate", 0}, {"Life", 20}, {"Maint", 0.5}, {"Mont", 2}}));
        const QJsonObject v = e["project2.db"].toArray()[0].toObject();
        const double s = v["D$Ws_g"].toDouble();
        const double a = s - 50;
        const QJsonObject f = v["economics"].toObject();
        QCOMPARE(f.keys(), (QStringList{"A", "C", "DPP", "IRR", "NPV"}));
        QCOMPARE(f["C"].toDouble(), 10200.0);
        QCOMPARE(f["A"].toDouble(), std::nearbyint(a / 0.01) * 0.01);
        QCOMPARE(f["NPV"].toDouble(), std::nearbyint((-10200 + 20 * a) / 0.01) * 0.01);
        QCOMPARE(f["DPP"].toDouble(), std::nearbyint(10200 / a / 0.01) * 0.01);
        QVERIFY(f["IRR"].toDouble() > 0);

        // The copy takes the parameters along.
        const int copy = cli({"copy", kod}).json()["Kod"].toInt();
        QCOMPARE(cli({"economics", QString::number(copy)}).out.trimmed(),
                 QByteArray(R"({"Rate":0,"Life":20,"Maint":0.5,"Mont":2})"));
    }

    void importRefusals_data()
    {
        QTest::addColumn<QByteArray>("economics");
        QTest::addColumn<QString>("message");
        QTest::newRow("not an object") << QByteArray(R"(, "economics": 5)")
                                       << "Ошибка в «economics»: значение должно быть объектом, а не числом.";
        QTest::newRow("unknown key")
            << QByteArray(R"(, "economics": {"Rate": 5, "Years": 3})")
            << "Ошибка в «economics.Years»: неизвестный ключ. Допустимые ключи: Rate, Life, Maint, Mont.";
        QTest::newRow("rate")
            << QByteArray(R"(, "economics": {"Rate": 101})")
            << "Значение поля \"Ставка дисконтирования, % в год\" должно быть в пределах от 0 до 100.";
    }
    void importRefusals()
    {
        QFETCH(QByteArray, economics);
        QFETCH(QString, message);
        const int before = QJsonDocument::fromJson(cli({"list"}).out).array().size();
        const Run r = cli({"import", "-"},
                          R"({"Name": "Плохой", "periods": [{"T1": 0, "T2": 24, "P": 10, "Q": 5}])" + economics + "}");
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, message);
        QCOMPARE(QJsonDocument::fromJson(cli({"list"}).out).array().size(), before);
    }

    // КУ-75 and УКМ-70 by NPV, the type without a price last; the optimum by NPV among them.
    void analyseByNpv()
    {
        const QString kod = importProject({});
        const Run r = cli({"analyse", kod, "--company", "Тест", "--sort", "npv"});
        QCOMPARE(r.err, QString());
        const QJsonArray rows = r.json()["rows"].toArray();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2].toObject()["TipKU"].toString(), QStringLiteral("КУ-без цены"));
        // The price per saving decides here: the same saving per kVAr costs 10000 or 35000.
        QCOMPARE(rows[0].toObject()["TipKU"].toString(), QStringLiteral("КУ-75"));
        QCOMPARE(r.json()["optimum_npv"].toInt(), rows[0].toObject()["Kod"].toInt());
        // Each row shows the money it is sorted by: largest NPV first, none without a price.
        QVERIFY(rows[0].toObject()["NPV"].toDouble() > rows[1].toObject()["NPV"].toDouble());
        for (int i = 0; i < 2; ++i)
            for (const char *key : {"NPV", "IRR", "DPP"})
                QVERIFY2(rows[i].toObject()[key].isDouble(), key);
        for (const char *key : {"NPV", "IRR", "DPP"})
            QVERIFY2(rows[2].toObject()[key].isNull(), key);
        const Run empty = cli({"analyse", kod, "--clear"});
        QVERIFY(empty.json()["optimum_npv"].isNull());
    }
};

QTEST_GUILESS_MAIN(TestCliEconomics)
#include "test_cli_economics.moc"
