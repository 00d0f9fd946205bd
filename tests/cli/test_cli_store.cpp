// The command-line program as a user runs it, and the database it leaves, read from outside.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestCliStore : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out, err;
    };

    static Run cli(const QStringList &args)
    {
        QProcess p;
        p.start(qEnvironmentVariable("KORVAN_CLI"), args);
        p.waitForFinished(60000);
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

private slots:
    void listOnEmptyDirectoryCreatesTheStore()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("Данные");
        Run r = cli({"--data", data, "list"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("[]\n"));
        const QString file = data + "/KorvanVkp1.sqlite";
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray first = f.readAll();
        f.close();
        r = cli({"--data", data, "list"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("[]\n"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), first); // found, not created again, nothing changed
    }

    // The tables, their fields, order and types, as any SQLite tool sees them.
    void tablesMatchTheDataModel()
    {
        QTemporaryDir dir;
        QCOMPARE(cli({"--data", dir.path(), "list"}).code, 0);
        const QList<QPair<QString, QString>> expected = {
            {"project0.db",
             "Kod:INTEGER Name:VARCHAR(50) ProjOwner:VARCHAR(50) ProjDate:DATE ProjTime:TIME ProjMemo:MEMO "
             "Tarif_a:DOUBLE Tarif_q:DOUBLE Cosfe:DOUBLE Tgfe:DOUBLE Wa:DOUBLE Wq:DOUBLE Ws:DOUBLE Psr:DOUBLE "
             "Qsr:DOUBLE Ssr:DOUBLE $Wa:DOUBLE $Wq:DOUBLE $Ws:DOUBLE MonthDay:INTEGER YearDay:INTEGER Wa_m:DOUBLE "
             "Wq_m:DOUBLE Ws_m:DOUBLE $Wa_m:DOUBLE $Wq_m:DOUBLE $Ws_m:DOUBLE Wa_g:DOUBLE Wq_g:DOUBLE Ws_g:DOUBLE "
             "$Wa_g:DOUBLE $Wq_g:DOUBLE $Ws_g:DOUBLE Qmin:DOUBLE Qmax:DOUBLE"},
            {"project1.db", "Kod:INTEGER Kod0:INTEGER T1:DOUBLE T2:DOUBLE P:DOUBLE Q:DOUBLE S:DOUBLE I:DOUBLE "
                            "Cosf:DOUBLE Tgf:DOUBLE Wa:DOUBLE Wq:DOUBLE Ws:DOUBLE $Wa:DOUBLE $Wq:DOUBLE $Ws:DOUBLE"},
            {"project2.db",
             "Kod:INTEGER Kod0:INTEGER VarNum:INTEGER TipKU:VARCHAR(30) Qk:DOUBLE Pp:DOUBLE Wakp:DOUBLE Kp:DOUBLE "
             "Cosf_i:DOUBLE Tgf_i:DOUBLE Wak:DOUBLE Wqk:DOUBLE Wsk:DOUBLE $Wak:DOUBLE $Wqk:DOUBLE $Wsk:DOUBLE "
             "DWak:DOUBLE DWqk:DOUBLE DWsk:DOUBLE D$Wak:DOUBLE D$Wqk:DOUBLE D$Wsk:DOUBLE Wp_m:DOUBLE Wq_m:DOUBLE "
             "Ws_m:DOUBLE $Wp_m:DOUBLE $Wq_m:DOUBLE $Ws_m:DOUBLE DWp_m:DOUBLE DWq_m:DOUBLE DWs_m:DOUBLE D$Wp_m:DOUBLE "
             "D$Wq_m:DOUBLE D$Ws_m:DOUBLE Wp_g:DOUBLE Wq_g:DOUBLE Ws_g:DOUBLE $Wp_g:DOUBLE $Wq_g:DOUBLE $Ws_g:DOUBLE "
             "DWp_g:DOUBLE DWq_g:DOUBLE DWs_g:DOUBLE D$Wp_g:DOUBLE D$Wq_g:DOUBLE D$Ws_g:DOUBLE Srok:DOUBLE Cena:DOUBLE "
             "KodKU0:INTEGER KodKU1:INTEGER Cosf_tr:DOUBLE Cosf_max:DOUBLE Cosf_min:DOUBLE Rejim:VARCHAR(80)"},
            {"project3.DB",
             "Kod:INTEGER Kod0:INTEGER T1:DOUBLE T2:DOUBLE P:DOUBLE Q:DOUBLE Qku:DOUBLE Q1:DOUBLE S:DOUBLE I:DOUBLE "
             "Cosf:DOUBLE Tgf:DOUBLE Wakp:DOUBLE Wak:DOUBLE Wqk:DOUBLE Wsk:DOUBLE $Wak:DOUBLE $Wqk:DOUBLE $Wsk:DOUBLE"},
            {"project4.DB", "Kod:INTEGER Kod0:INTEGER Stup:DOUBLE Kol_vo:INTEGER"},
            {"project5.DB", "Kod:INTEGER Kod0:INTEGER Stup:DOUBLE Kol_vo:INTEGER"},
            {"sKU0.db", "Kod:INTEGER Company:VARCHAR(50)"},
            {"sKU1.DB", "Kod:INTEGER Kod0:INTEGER Name:VARCHAR(50) Q:DOUBLE Pp:DOUBLE Unom:INTEGER Cena:DOUBLE"},
            {"sKU2.DB", "Kod:INTEGER Kod0:INTEGER Qstup:DOUBLE Kol_vo:INTEGER"},
            {"Hints.DB", "Kod:INTEGER TableName:VARCHAR(20) FieldName:VARCHAR(20) FieldHint:VARCHAR(255)"},
            {"sSutGraphic0.db", "Kod:INTEGER Otrasl:VARCHAR(100)"},
            {"sSutGraphic1.db", "Kod:INTEGER Kod0:INTEGER Name:VARCHAR(100)"},
            {"sSutGraphic2.db", "Kod:INTEGER Kod0:INTEGER T1:DOUBLE T2:DOUBLE P:DOUBLE Q:DOUBLE"},
            {"report.DB",
             "Kod:INTEGER Name:VARCHAR(100) WordDoc:VARCHAR(10) PaperSize:VARCHAR(15) PaperOrient:VARCHAR(10) "
             "PageNum:VARCHAR(30) TopMargin:INTEGER BottomMargin:INTEGER LeftMargin:INTEGER RightMargin:INTEGER "
             "HeaderDistance:INTEGER FooterDistance:INTEGER ProjName:BOOLEAN ProjHar:BOOLEAN SutGr:BOOLEAN "
             "SutGrPrim:BOOLEAN SutGrFormula:BOOLEAN SutGrScore:BOOLEAN SutHar:BOOLEAN SutFormula:BOOLEAN "
             "SutScore:BOOLEAN MonthHar:BOOLEAN MonthFormula:BOOLEAN MonthScore:BOOLEAN YearHar:BOOLEAN "
             "YearFormula:BOOLEAN YearScore:BOOLEAN KUHar:BOOLEAN SutGrKomp:BOOLEAN SutGrKompPrim:BOOLEAN "
             "SutGrKompFormula:BOOLEAN SutGrKompScore:BOOLEAN SutHarKomp:BOOLEAN SutKompPrim:BOOLEAN "
             "SutKompFormula:BOOLEAN SutKompScore:BOOLEAN MonthHarKomp:BOOLEAN MonthKompPrim:BOOLEAN "
             "MonthKompFormula:BOOLEAN MonthKompScore:BOOLEAN YearHarKomp:BOOLEAN YearKompPrim:BOOLEAN "
             "YearKompFormula:BOOLEAN YearKompScore:BOOLEAN"},
            {"sel_ku.DB", "Kod:INTEGER Kod0:INTEGER KodKU0:INTEGER KodKU1:INTEGER Company:VARCHAR(50) "
                          "TipKU:VARCHAR(30) Qk:DOUBLE Qku_min:DOUBLE Qku_max:DOUBLE Cosf_sr:DOUBLE Cosf_min:DOUBLE "
                          "Cosf_max:DOUBLE Tgf_sr:DOUBLE DSWsk:DOUBLE DSWskm:DOUBLE DSWskg:DOUBLE Srok:DOUBLE "
                          "Rejim:VARCHAR(80) PCosf_min:DOUBLE PCosf_max:DOUBLE PCosf_tr:DOUBLE"},
        };
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "outside");
            db.setDatabaseName(dir.filePath("KorvanVkp1.sqlite"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QStringList tables;
            q.exec("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
            while (q.next())
                tables << q.value(0).toString();
            // The fifteen of the original format first, the resonance check's, the economics', the
            // analysis rows' and the report settings' tables beside them.
            QCOMPARE(tables.size(), 25);
            QCOMPARE(tables.mid(15),
                     (QStringList{"supply.db", "sKU1_detuning.db", "project2_harmonics.db", "sel_ku_harmonics.db",
                                  "report_resonance.db", "econom.db", "econrep.db", "sel_ku_kp.db", "report_front.db",
                                  "report_engineer.db"}));
            for (const auto &[table, fields] : expected) {
                QVERIFY2(q.exec(QString("PRAGMA table_info(\"%1\")").arg(table)), qPrintable(table));
                QStringList found;
                while (q.next())
                    found << q.value(1).toString() + ":" + q.value(2).toString();
                QCOMPARE(found.join(' '), fields);
            }
            // Kod is the autoincrement key of every table.
            for (const auto &entry : expected) {
                q.exec(QString("SELECT sql FROM sqlite_master WHERE name='%1'").arg(entry.first));
                QVERIFY(q.next());
                QVERIFY2(q.value(0).toString().contains("\"Kod\" INTEGER PRIMARY KEY AUTOINCREMENT"),
                         qPrintable(entry.first));
            }
            QStringList indexes;
            q.exec("SELECT name FROM sqlite_master WHERE type='index' AND name LIKE 'sel_ku.DB:%' ORDER BY name");
            while (q.next())
                indexes << q.value(0).toString().section(':', 1);
            // The table's own indexes, and the one a change of a catalogue type finds its rows by.
            QCOMPARE(indexes, QStringList({"Kod0", "Kod0Cosf", "KodKU1", "siCosf_sr", "siDSWsk", "siDSWskg", "siDSWskm",
                                           "siSrok"}));
            q.exec("SELECT count(*) FROM sqlite_master WHERE type='index' AND name LIKE '%:Kod0'");
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), 10); // nine detail tables and the analysis table
            db.close();
        }
        QSqlDatabase::removeDatabase("outside");
    }

    // A colleague's data on a read-only share or in a backup: the commands that read work, with
    // no lock and nothing written; the ones that write say why they cannot.
    void readOnlyDirectoryCanBeRead()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only directories");
        QTemporaryDir dir;
        QCOMPARE(cli({"--data", dir.path(), "import", "-"}).code, 2); // no input: nothing made but the store
        Run r = cli({"--data", dir.path(), "list"});
        QCOMPARE(r.code, 0);
        QFile::remove(dir.filePath("KorvanVkp1.lock"));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        r = cli({"--data", dir.path(), "list"});
        QCOMPARE(QString::fromUtf8(r.err), QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(cli({"--data", dir.path(), "catalogue-export"}).code, 0);
        r = cli({"--data", dir.path(), "recalc", "1"});
        QCOMPARE(r.code, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains("недоступен для записи"), r.err.constData());
        QVERIFY(!QFile::exists(dir.filePath("KorvanVkp1.lock")));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Reading takes no lock: the commands that read work beside a running program, and see what
    // it has committed, not what it is still writing.
    void readersWorkBesideARunningProgram()
    {
        QTemporaryDir dir;
        QProcess writer;
        writer.start(qEnvironmentVariable("KORVAN_TEST_HELPERS") + "/korvan_store_writer", {dir.path()});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(60000));
        Run r = cli({"--data", dir.path(), "list"});
        QCOMPARE(QString::fromUtf8(r.err), QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).array().size(), 1);
        r = cli({"--data", dir.path(), "delete", "1"});
        QCOMPARE(r.code, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains("KorvanVkp1.lock"), r.err.constData());
        writer.kill();
        QVERIFY(writer.waitForFinished());
    }

    // A full disk is reported as a full disk, and nothing of the command is kept. A small
    // file system of our own needs a mount: a tmpfs in a private mount namespace, which
    // `unshare -Urm` gives without privileges where user namespaces are allowed.
    void fullDiskIsReportedAsFull()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath("store"), mount = dir.filePath("mnt");
        QVERIFY(QDir().mkpath(mount));
        QCOMPARE(cli({"--data", store, "list"}).code, 0);
        QFile small(dir.filePath("small.json")), large(dir.filePath("large.json"));
        QVERIFY(small.open(QIODevice::WriteOnly) && large.open(QIODevice::WriteOnly));
        small.write(R"({"Name": "Малый", "periods": [{"T1": 0, "T2": 24, "P": 10, "Q": 5}]})");
        large.write(R"({"Name": "Большой", "ProjMemo": ")" + QByteArray(2 << 20, 'x') +
                    R"(", "periods": [{"T1": 0, "T2": 24, "P": 10, "Q": 5}]})");
        small.close();
        large.close();
        // Each step's output and exit code in a file beside the mount, which ends with the namespace.
        const QString script = R"(
            out=$1; mnt=$2; cli=$3
            mount -t tmpfs -o size=1m none "$mnt" || exit 77
            cp "$4" "$mnt/KorvanVkp1.sqlite"
            step() { name=$1; shift; "$@" > "$out/$name.txt" 2>&1; echo $? > "$out/$name.rc"; }
            fill() { rm -f "$mnt/filler"; cat /dev/zero > "$mnt/filler" 2>/dev/null; truncate -s "-$1" "$mnt/filler"; }
            fill 16K
            step open-import "$cli" --data "$mnt" import "$out/small.json"
            step open-list "$cli" --data "$mnt" list
            fill 200K
            step commit-import "$cli" --data "$mnt" import "$out/large.json"
            rm "$mnt/filler"
            step after-list "$cli" --data "$mnt" list
            step integrity sqlite3 "$mnt/KorvanVkp1.sqlite" "PRAGMA integrity_check"
        )";
        QProcess p;
        p.start("unshare", {"-Urm", "sh", "-c", script, "sh", dir.path(), mount, qEnvironmentVariable("KORVAN_CLI"),
                            store + "/KorvanVkp1.sqlite"});
        if (!p.waitForStarted())
            QSKIP("unshare is not available: no small file system to fill");
        QVERIFY(p.waitForFinished(120000));
        if (p.exitCode() != 0)
            QSKIP(qPrintable("no tmpfs in a private mount namespace here: " + p.readAllStandardError()));
        const auto step = [&](const QString &name) {
            QFile text(dir.filePath(name + ".txt")), rc(dir.filePath(name + ".rc"));
            if (!text.open(QIODevice::ReadOnly) || !rc.open(QIODevice::ReadOnly))
                return std::pair{-1, QString()};
            return std::pair{rc.readAll().trimmed().toInt(), QString::fromUtf8(text.readAll()).trimmed()};
        };
        // Less than the engine needs to open the store at all: the reader and the writer alike.
        for (const char *name : {"open-import", "open-list"}) {
            const auto [code, text] = step(name);
            QCOMPARE(code, 2);
            QVERIFY2(text.startsWith("На диске с файлом «" + mount + "/KorvanVkp1.sqlite» нет места"),
                     qPrintable(text));
        }
        // Room to open, not to write a large project: the commit fails and says why.
        const auto [code, text] = step("commit-import");
        QCOMPARE(code, 2);
        QVERIFY2(text.contains("нет места") && !text.contains("не является базой данных"), qPrintable(text));
        // The space back: a healthy store without either project.
        QCOMPARE(step("after-list"), std::pair(0, QStringLiteral("[]")));
        QCOMPARE(step("integrity"), std::pair(0, QStringLiteral("ok")));
    }

    void errorsInRussianWithExitCode2_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "Неизвестная команда «frobnicate».";
        QTest::newRow("unknown option") << QStringList{"--verbose", "list"} << "Неизвестный параметр «--verbose».";
        QTest::newRow("missing directory") << QStringList{"--data"} << "После --data нужно указать каталог данных.";
        QTest::newRow("extra argument") << QStringList{"list", "7"} << "Лишний параметр «7».";
    }
    void errorsInRussianWithExitCode2()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (args.first() != "--data")
            args.prepend(dir.path()), args.prepend("--data");
        const Run r = cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err).trimmed(), message);
    }
};

QTEST_GUILESS_MAIN(TestCliStore)
#include "test_cli_store.moc"
