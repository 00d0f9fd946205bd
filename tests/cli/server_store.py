#!/usr/bin/env python3
"""The store on a PostgreSQL server, tried through korvan-vkp-cli on a throwaway cluster.

The test starts its own cluster (initdb and pg_ctl on a Unix socket in a temporary directory; as
root it runs them as the postgres user) and checks that:
  - the same random catalogues and projects imported into a data directory and into the server
    export identical JSON, after a recalculation, a copy and an analysis too;
  - two imports at the same time on one server both succeed;
  - a connection terminated in the middle of a command leaves the server as it was, and the next
    command works;
  - names with quotes, ";" and "--" go through unchanged;
  - a server of a newer format and a server that cannot be reached are refused in Russian, exit code 2;
  - the Qt tests that need a server (edit conflicts, a lost connection, others' commits heard, the main
    window following them) pass.

Without PostgreSQL installed the test says so and is skipped (exit code 77).
"""
import glob
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import crosscheck_engine as xc  # noqa: E402  the random catalogue and project generators

SKIP = 77


def pg_bin():
    found = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"), key=lambda p: int(p.split("/")[4]))
    return os.path.dirname(found[-1]) if found else None


class Cluster:
    """A cluster of our own on a Unix socket; every client connects as the superuser "korvan"."""

    def __init__(self, bindir, root):
        self.bindir = bindir
        self.root = root
        self.data = os.path.join(root, "data")
        self.socket = root
        self.as_root = os.geteuid() == 0
        os.makedirs(root)
        if self.as_root:
            shutil.chown(root, "postgres")
        self.run("initdb", "-D", self.data, "-U", "korvan", "-A", "trust", "-E", "UTF8", "--locale=C.UTF-8")
        self.run("pg_ctl", "-D", self.data, "-l", os.path.join(root, "log"), "-w", "-o",
                 "-k %s -c listen_addresses='' -c fsync=off" % self.socket, "start")

    def run(self, tool, *args):
        cmd = [os.path.join(self.bindir, tool)] + list(args)
        if self.as_root:
            cmd = ["runuser", "-u", "postgres", "--"] + cmd
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def stop(self):
        self.run("pg_ctl", "-D", self.data, "-m", "immediate", "stop")

    def url(self, db):
        return "postgresql://korvan@/%s?host=%s" % (db, self.socket)

    def psql(self, sql, db="postgres"):
        out = subprocess.run([os.path.join(self.bindir, "psql"), "-X", "-q", "-t", "-A", "-v", "ON_ERROR_STOP=1",
                              "-h", self.socket, "-U", "korvan", "-d", db, "-c", sql],
                             check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return out.stdout.decode("utf-8").strip()

    def createdb(self, name):
        self.psql('CREATE DATABASE "%s"' % name)
        return self.url(name)


class Cli:
    def __init__(self, program, store):
        self.program = program
        self.store = store

    def run(self, *args, stdin=None):
        return subprocess.run([self.program, "--store", self.store] + list(args),
                              input=None if stdin is None else json.dumps(stdin, ensure_ascii=False).encode("utf-8"),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)

    def __call__(self, *args, stdin=None):
        proc = self.run(*args, stdin=stdin)
        if proc.returncode != 0:
            raise xc.CliError("%s (%s) exited with %d: %s" % (" ".join(args), self.store, proc.returncode,
                                                           proc.stderr.decode("utf-8", "replace").strip()))
        return json.loads(proc.stdout.decode("utf-8"))


failures = []


def comparable(export):
    """An export without the date and time of the import, which the two imports cannot share."""
    if isinstance(export, dict) and isinstance(export.get("project0.db"), dict):
        export = dict(export, **{"project0.db": {k: v for k, v in export["project0.db"].items()
                                                 if k not in ("ProjDate", "ProjTime")}})
    return json.dumps(export, sort_keys=True, ensure_ascii=False)


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def same_through_both(program, tmp, cluster):
    """Random catalogues and projects through a data directory and through the server."""
    seed = int(os.environ.get("KORVAN_XCHECK_SEED", "20240611"))
    count = int(os.environ.get("KORVAN_SERVER_PROJECTS", "25"))
    rng = random.Random(seed)
    stores = [Cli(program, os.path.join(tmp, "files")), Cli(program, cluster.createdb("same"))]
    catalogue = xc.random_catalogue(rng, 1)
    added = [s("catalogue-import", "-", stdin=catalogue) for s in stores]
    check(added[0] == added[1], "the catalogue gets the same keys on both engines")
    check(stores[0]("catalogue-export") == stores[1]("catalogue-export"), "the catalogue exports identical JSON")
    flat = [t for comp in catalogue for t in comp["types"]]
    types = {a["KodKU1"]: dict(t, KodKU0=a["KodKU0"]) for t, a in zip(flat, added[0])}
    differing = []
    for i in range(count):
        inp = xc.random_project(rng, 1, i + 1, types)
        kods = [s("import", "-", stdin=inp)["Kod"] for s in stores]
        steps = [("export", str(kods[0]))]
        if i % 3 == 0:
            for s, k in zip(stores, kods):
                s("recalc", str(k))
        if i % 4 == 0:
            copies = [s("copy", str(k))["Kod"] for s, k in zip(stores, kods)]
            steps.append(("export", str(copies[0])))
        if i % 5 == 0:
            # Some projects are refused by the analysis: then both must refuse them alike.
            analysed = [s.run("analyse", str(k), "--all-companies", "--mode", str(i % 5)) for s, k in zip(stores, kods)]
            if [(p.returncode, p.stdout, p.stderr) for p in analysed][0] != \
                    [(p.returncode, p.stdout, p.stderr) for p in analysed][1]:
                differing.append("analyse of project %d" % (i + 1))
        if kods[0] != kods[1]:
            differing.append("project %d: keys %r" % (i + 1, kods))
            continue
        for step in steps:
            a, b = (s(*step) for s in stores)
            if comparable(a) != comparable(b):
                differing.append("project %d: %s" % (i + 1, " ".join(step)))
    check(not differing, "%d random projects (seed %d) export identical JSON from both engines%s"
          % (count, seed, "" if not differing else ": " + "; ".join(differing[:5])))
    check(stores[0]("list") == stores[1]("list"), "the project lists are identical")


def analysis_with_resonance(program, tmp, cluster):
    """The analysis of a project with a supply over detuned and plain types: the server reads the
    types' modules and detunings for a whole company at once, the file type by type."""
    rng = random.Random(11)
    catalogue = xc.random_catalogue(rng, 4)
    for i, t in enumerate(t for comp in catalogue for t in comp["types"]):
        t["Detuning"] = [None, 7, 14][i % 3]
    stores = [Cli(program, os.path.join(tmp, "resonance")), Cli(program, cluster.createdb("resonance"))]
    added = [s("catalogue-import", "-", stdin=catalogue) for s in stores]
    flat = [t for comp in catalogue for t in comp["types"]]
    types = {a["KodKU1"]: dict(t, KodKU0=a["KodKU0"]) for t, a in zip(flat, added[0])}
    inp = xc.random_project(rng, 4, 1, types)
    outs, exports, copies = [], [], []
    for s in stores:
        kod = s("import", "-", stdin=inp)["Kod"]
        s("supply", str(kod), "--str", "630", "--uk", "5.5", "--harmonics", "5,7,11,13")
        checked_by_supply = s("export", str(kod))
        # A recalculation works each variant's check out from the periods it has just written.
        s("recalc", str(kod))
        exports.append((checked_by_supply, s("export", str(kod))))
        # A copy works its variants' check out from the periods it copies.
        copies.append(s("export", str(s("copy", str(kod))["Kod"])))
        outs.append(s("analyse", str(kod), "--all-companies"))
    texts = [comparable(e) for pair in exports for e in pair]
    check(len(set(texts)) == 1 and
          any((v.get("harmonics") or {}).get("Hr_min") is not None for v in exports[0][0]["project2.db"]),
          "the variants' resonance check is the same on both engines, and after a recalculation")
    checks = [[v.get("harmonics") for v in e["project2.db"]] for e in [exports[0][1]] + copies]
    check(checks[0] == checks[1] == checks[2], "a copy's variants have the source's resonance check, on both engines")
    rows = outs[1].get("rows", [])
    checked = sum(1 for r in rows if r["harmonics"]["Resonance"] is not None)
    check(outs[0] == outs[1] and checked > 0,
          "the analysis with a supply and detuned types is the same on both engines (%d rows, %d checked)"
          % (len(rows), checked))


def concurrent_imports(program, cluster):
    url = cluster.createdb("together")
    cli = Cli(program, url)
    cli("list")  # the schema is made once, before the race
    rng = random.Random(7)
    catalogue = xc.random_catalogue(rng, 2)
    added = cli("catalogue-import", "-", stdin=catalogue)
    flat = [t for comp in catalogue for t in comp["types"]]
    types = {a["KodKU1"]: dict(t, KodKU0=a["KodKU0"]) for t, a in zip(flat, added)}
    inputs = [xc.random_project(rng, 2, i + 1, types) for i in range(2)]
    for inp in inputs:
        inp["periods"] = [{"T1": h / 2, "T2": (h + 1) / 2, "P": 10 + h, "Q": 5 + h} for h in range(48)]
    procs = [subprocess.Popen([program, "--store", url, "import", "-"], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE) for _ in inputs]
    outs = [p.communicate(json.dumps(inp, ensure_ascii=False).encode("utf-8"), timeout=300)
            for p, inp in zip(procs, inputs)]
    codes = [p.returncode for p in procs]
    check(codes == [0, 0], "two imports at the same time both succeed (exit codes %r%s)"
          % (codes, "".join(" " + o[1].decode("utf-8", "replace").strip() for o in outs)))
    names = sorted(p["Name"] for p in cli("list"))
    check(names == sorted(inp["Name"] for inp in inputs), "both imported projects are on the server")
    # The same with a brand-new database: both programs meet an empty server and one creates it.
    url = cluster.createdb("fresh")
    procs = [subprocess.Popen([program, "--store", url, "list"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
             for _ in range(2)]
    outs = [p.communicate(timeout=300) for p in procs]
    check([p.returncode for p in procs] == [0, 0],
          "two programs meeting an empty database at once both work (%s)"
          % " ".join(o[1].decode("utf-8", "replace").strip() for o in outs))


def terminated_connection(program, cluster):
    url = cluster.createdb("cut")
    cli = Cli(program, url)
    cli("import", "-", stdin={"Name": "До сбоя", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21, "YearDay": 260,
                              "periods": [{"T1": 0, "T2": 24, "P": 100, "Q": 80}]})
    before = cli("list")
    before_periods = cluster.psql('SELECT count(*) FROM "project1.db"', "cut")
    # A session holds the periods' table: the import writes its project row, then waits for the
    # table in the middle of its transaction, and its connection is cut there.
    holder = subprocess.Popen([os.path.join(cluster.bindir, "psql"), "-X", "-q", "-h", cluster.socket, "-U", "korvan",
                               "-d", "cut"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    holder.stdin.write(b'BEGIN; LOCK TABLE "project1.db" IN ACCESS EXCLUSIVE MODE; SELECT 1;\n')
    holder.stdin.flush()
    for _ in range(100):
        if cluster.psql("SELECT count(*) FROM pg_locks WHERE relation = '\"project1.db\"'::regclass AND granted", "cut") != "0":
            break
        time.sleep(0.05)
    victim = subprocess.Popen([program, "--store", url, "import", "-"], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    victim.stdin.write(json.dumps({"Name": "Прерванный", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21, "YearDay": 260,
                                   "periods": [{"T1": 0, "T2": 24, "P": 50, "Q": 40}]}, ensure_ascii=False).encode())
    victim.stdin.close()
    waiting = "0"
    for _ in range(200):
        waiting = cluster.psql("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' "
                               "AND datname = 'cut'", "cut")
        if waiting != "0":
            break
        time.sleep(0.05)
    check(waiting != "0", "the import waits in the middle of its transaction")
    cluster.psql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE wait_event_type = 'Lock' "
                 "AND datname = 'cut'", "cut")
    err = victim.stderr.read().decode("utf-8", "replace")
    victim.wait(timeout=60)
    holder.stdin.write(b"ROLLBACK;\n\\q\n")
    holder.stdin.close()
    holder.wait(timeout=60)
    check(victim.returncode == 2 and "соединение с сервером прервано" in err,
          "the cut command fails with exit code 2 and says why (%d: %s)" % (victim.returncode, err.strip()))
    check(cli("list") == before and cluster.psql('SELECT count(*) FROM "project1.db"', "cut") == before_periods,
          "the server is as it was before the cut command")
    kod = cli("import", "-", stdin={"Name": "После сбоя", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21,
                                    "YearDay": 260, "periods": [{"T1": 0, "T2": 24, "P": 1, "Q": 1}]})["Kod"]
    check(cli("export", str(kod))["project0.db"]["Name"] == "После сбоя", "the next command works")


def project_lock(program, cluster):
    url = cluster.createdb("locked")
    cli = Cli(program, url)
    kod = cli("import", "-", stdin={"Name": "Общий", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21, "YearDay": 260,
                                    "periods": [{"T1": 0, "T2": 24, "P": 100, "Q": 80}]})["Kod"]
    # Another user's program holds the project, as a changing command holds it.
    holder = subprocess.Popen([os.path.join(cluster.bindir, "psql"), "-X", "-q", "-h", cluster.socket, "-U", "korvan",
                               "-d", "locked"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    holder.stdin.write(("SET application_name = 'ivanov@kb-7'; SELECT pg_advisory_lock(4711, %d);\n" % kod).encode())
    holder.stdin.flush()
    for _ in range(100):
        if cluster.psql("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND granted", "locked") != "0":
            break
        time.sleep(0.05)
    proc = cli.run("recalc", str(kod))
    err = proc.stderr.decode("utf-8", "replace")
    check(proc.returncode == 2 and "сейчас изменяет другой пользователь: korvan (ivanov@kb-7)" in err,
          "a project held by another user is refused, naming the holder (%d: %s)" % (proc.returncode, err.strip()))
    check(cli.run("export", str(kod)).returncode == 0, "... while reading it still works")
    holder.stdin.write(b"\\q\n")
    holder.stdin.close()
    holder.wait(timeout=60)
    check(cli.run("recalc", str(kod)).returncode == 0, "... and once the holder is gone, the command works")


def conflicts_tried_again(program, cluster):
    url = cluster.createdb("conflicts")
    cli = Cli(program, url)
    cli("list")
    # The server reports a serialization failure for the first inserts of projects, as it does
    # when two users' transactions collide; a sequence counts the tries (it is not rolled back).
    cluster.psql("CREATE SEQUENCE tries; CREATE FUNCTION collide() RETURNS trigger LANGUAGE plpgsql AS "
                 "$$BEGIN IF nextval('tries') <= current_setting('korvan.fail')::int THEN RAISE EXCEPTION 'conflict' "
                 "USING ERRCODE = 'serialization_failure'; END IF; RETURN NEW; END$$; "
                 "CREATE TRIGGER collide BEFORE INSERT ON \"project0.db\" FOR EACH ROW EXECUTE FUNCTION collide(); "
                 "ALTER DATABASE conflicts SET korvan.fail = 2", "conflicts")
    project = {"Name": "Спорный", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21, "YearDay": 260,
               "periods": [{"T1": 0, "T2": 24, "P": 100, "Q": 80}]}
    proc = cli.run("import", "-", stdin=project)
    check(proc.returncode == 0 and cluster.psql("SELECT last_value FROM tries", "conflicts") == "3"
          and len(cli("list")) == 1, "a command that loses a conflict twice is tried again and succeeds (%s)"
          % proc.stderr.decode("utf-8", "replace").strip())
    cluster.psql("ALTER DATABASE conflicts SET korvan.fail = 1000", "conflicts")
    proc = cli.run("import", "-", stdin=project)
    err = proc.stderr.decode("utf-8", "replace")
    check(proc.returncode == 2 and "одновременно изменяли другие пользователи" in err and len(cli("list")) == 1,
          "a command that keeps losing is given up with a Russian message, nothing written (%s)" % err.strip())


def without_keys(node):
    """Keys are renumbered by a copy; everything else must be the same."""
    if isinstance(node, dict):
        return {k: without_keys(v) for k, v in node.items() if not (k.startswith("Kod") or k.startswith("optimum"))}
    if isinstance(node, list):
        return [without_keys(v) for v in node]
    return node


def store_copy(program, tmp, cluster):
    source = Cli(program, os.path.join(tmp, "copy-source"))
    rng = random.Random(11)
    catalogue = xc.random_catalogue(rng, 3)
    added = source("catalogue-import", "-", stdin=catalogue)
    flat = [t for comp in catalogue for t in comp["types"]]
    types = {a["KodKU1"]: dict(t, KodKU0=a["KodKU0"]) for t, a in zip(flat, added)}
    kods = [source("import", "-", stdin=xc.random_project(rng, 3, i + 1, types))["Kod"] for i in range(4)]
    source("delete", str(kods[0]))  # a gap in the keys: the copy renumbers
    source("economics", str(kods[1]), "--rate", "12")
    source.run("analyse", str(kods[2]), "--all-companies")
    server = Cli(program, cluster.createdb("copied"))
    back = Cli(program, os.path.join(tmp, "copy-back"))

    def copy(a, b, *extra):
        proc = subprocess.run([program, "store-copy", "--from", a.store, "--to", b.store] + list(extra),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        return proc.returncode, proc.stdout.decode("utf-8"), proc.stderr.decode("utf-8", "replace")

    def contents(cli):
        projects = [without_keys(cli("export", str(p["Kod"]))) for p in cli("list")]
        for p in projects:
            p["project0.db"].pop("ProjDate", None)
            p["project0.db"].pop("ProjTime", None)
        return projects, without_keys(cli("catalogue-export"))

    results = [copy(source, server), copy(server, back)]
    check([r[0] for r in results] == [0, 0], "store-copy: a data directory to the server and back (%s)"
          % " ".join(r[2].strip() for r in results))
    check(contents(source) == contents(server) == contents(back), "... copies projects and catalogue unchanged")
    code, _, err = copy(source, back)
    check(code == 2 and "--merge" in err, "store-copy refuses a target holding data without --merge (%s)" % err.strip())
    code, _, err = copy(source, back, "--merge")
    projects, catalogue = contents(back)
    check(code == 0 and len(projects) == 6 and catalogue == contents(source)[1],
          "store-copy --merge appends the projects and merges the catalogue by name (%s)" % err.strip())
    # One database spelled two ways is one store: never copied into itself.
    before = contents(server)
    key_value = Cli(program, "host=%s dbname=copied user=korvan" % cluster.socket)
    check(contents(key_value) == before, "libpq's key=value address reaches the same database")
    code, _, err = copy(server, key_value, "--merge")
    check(code == 2 and "само в себя" in err and contents(server) == before,
          "store-copy refuses one database as a URI and as key=value (%d: %s)" % (code, err.strip()))
    other = Cli(program, server.store.replace("postgresql://", "postgres://", 1))
    code, _, err = copy(server, other, "--merge")
    check(code == 2 and "само в себя" in err and contents(server) == before,
          "store-copy refuses one database under two spellings of its address (%d: %s)" % (code, err.strip()))


def awkward_names(program, tmp, cluster):
    url = cluster.createdb("names")
    name = "Завод \"Р\"; DROP TABLE \"project0.db\"; -- O'Brien ?"
    stores = [Cli(program, url), Cli(program, os.path.join(tmp, "names"))]
    for s in stores:
        s("catalogue-import", "-", stdin=[{"Company": name, "types": [
            {"Name": "КРМ '1'; --", "Q": 10, "Pp": 0.004, "Unom": 400, "Cena": 100,
             "modules": [{"Qstup": 10, "Kol_vo": 1}]}]}])
        s("import", "-", stdin={"Name": name, "ProjOwner": "'; --", "Tarif_a": 1, "Tarif_q": 0.05, "MonthDay": 21,
                                "YearDay": 260, "periods": [{"T1": 0, "T2": 24, "P": 1, "Q": 1}]})
    exported = [s("export", str(s("list")[0]["Kod"])) for s in stores]
    check(exported[0]["project0.db"]["Name"] == name and exported[0]["project0.db"]["ProjOwner"] == "'; --",
          "names with quotes, ';' and '--' round-trip through the server")
    check(comparable(exported[0]) == comparable(exported[1]), "... and export as from a data directory")
    companies = [c["Company"] for c in stores[0]("catalogue-export")]
    check(name in companies, "the company with such a name is in the server's catalogue")


def refusals(program, cluster):
    url = cluster.createdb("newer")
    cli = Cli(program, url)
    cli("list")
    cluster.psql('UPDATE "store_version.db" SET "Version" = 99', "newer")
    proc = cli.run("list")
    err = proc.stderr.decode("utf-8", "replace")
    check(proc.returncode == 2 and "более новой версией программы" in err and "newer" in err,
          "a server of a newer format is refused (%d: %s)" % (proc.returncode, err.strip()))
    check(cluster.psql('SELECT "Version" FROM "store_version.db"', "newer") == "99", "... and left as it was")
    # A code beyond the server's integers names no project: the program's message, not the server's.
    url = cluster.createdb("codes")
    for kod in ("2147483648", "-2147483649"):
        proc = Cli(program, url).run("recalc", kod)
        err = proc.stderr.decode("utf-8", "replace")
        check(proc.returncode == 2 and ("Проект с кодом %s не найден." % kod) in err and "out of range" not in err,
              "project code %s on the server: not found (%d: %s)" % (kod, proc.returncode, err.strip()))
    gone = "postgresql://korvan:secret@/nowhere?host=%s" % os.path.join(cluster.root, "no-such-dir")
    proc = Cli(program, gone).run("list")
    err = proc.stderr.decode("utf-8", "replace")
    check(proc.returncode == 2 and "Не удалось подключиться к серверу PostgreSQL" in err and "nowhere" in err
          and "secret" not in err, "an unreachable server: a Russian message naming it, no password (%s)" % err.strip())


def core_test(cluster, variable, db, what):
    """A Qt test that needs a server, run on a database of its own; it must not skip."""
    test = os.environ.get(variable)
    check(bool(test), "the core test's path is given (%s)" % variable)
    if not test:
        return
    env = dict(os.environ, KORVAN_TEST_PG_URL=cluster.createdb(db), QT_QPA_PLATFORM="offscreen")
    proc = subprocess.run([test], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    out = proc.stdout.decode("utf-8", "replace")
    check(proc.returncode == 0 and "SKIP" not in out, "%s (%s)" % (what, out.strip()[-2000:]))


def password_startup(cluster):
    """The program's start-up on a server that asks for a password (the window's test, offscreen)."""
    test = os.environ.get("KORVAN_STORE_CHOICE_TEST")
    check(bool(test), "the store choice test's path is given (KORVAN_STORE_CHOICE_TEST)")
    if not test:
        return
    password = "Пароль «1»; --"
    cluster.psql("CREATE ROLE korvan_pw LOGIN PASSWORD '%s'" % password.replace("'", "''"))
    cluster.psql('CREATE DATABASE "withpw" OWNER korvan_pw')
    hba = os.path.join(cluster.data, "pg_hba.conf")
    with open(hba, encoding="utf-8") as f:
        rules = f.read()
    with open(hba, "w", encoding="utf-8") as f:
        f.write("local all korvan_pw scram-sha-256\n" + rules)
    cluster.run("pg_ctl", "-D", cluster.data, "reload")
    time.sleep(0.5)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", KORVAN_TEST_PG_PASSWORD_HOST=cluster.socket,
               KORVAN_TEST_PG_PASSWORD_DB="withpw", KORVAN_TEST_PG_PASSWORD_USER="korvan_pw",
               KORVAN_TEST_PG_PASSWORD=password, HOME=tempfile.mkdtemp())
    env.pop("PGPASSWORD", None)
    proc = subprocess.run([test, "serverPasswordIsAskedAtStartUp"], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=300)
    out = proc.stdout.decode("utf-8", "replace")
    check(proc.returncode == 0 and "SKIP" not in out,
          "a server asking a password has it asked at start-up (%s)" % out.strip()[-2000:])


def main():
    if len(sys.argv) != 2:
        print("usage: server_store.py PATH-TO-korvan-vkp-cli", file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    bindir = pg_bin()
    if not bindir:
        print("ПРОПУЩЕНО: PostgreSQL не установлен (нет initdb); scripts/deps устанавливает его.")
        return SKIP
    with tempfile.TemporaryDirectory(prefix="korvan-pg-") as tmp:
        os.chmod(tmp, 0o755)
        cluster = Cluster(bindir, os.path.join(tmp, "pg"))
        try:
            os.environ.pop("PGPASSWORD", None)
            same_through_both(program, tmp, cluster)
            analysis_with_resonance(program, tmp, cluster)
            concurrent_imports(program, cluster)
            terminated_connection(program, cluster)
            project_lock(program, cluster)
            conflicts_tried_again(program, cluster)
            awkward_names(program, tmp, cluster)
            store_copy(program, tmp, cluster)
            refusals(program, cluster)
            core_test(cluster, "KORVAN_EDIT_CONFLICT_TEST", "conflict",
                      "a post over a row another user changed is refused, the buffer kept")
            core_test(cluster, "KORVAN_SERVER_SESSION_TEST", "session",
                      "a lost connection fails only its command; others' commits are heard")
            core_test(cluster, "KORVAN_MAIN_WINDOW_SERVER_TEST", "window",
                      "the main window follows another user's commits")
            password_startup(cluster)
        except xc.CliError as e:
            check(False, str(e))
        finally:
            cluster.stop()
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
