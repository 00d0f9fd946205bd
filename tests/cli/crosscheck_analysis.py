#!/usr/bin/env python3
"""Cross-check of `korvan-vkp-cli analyse` against an independent calculation.

Random catalogues and projects are imported through the command-line program; for each project
the analysis table is built with a random mode, cos(f) values and loss coefficient, and every
field of every row, the row order, the optimum and the recommended range are compared with what
the rules of the installation selection analysis give, worked out here from first principles:
the project's payments from its load periods, the module list and the five selection modes, the
evaluation of a candidate, the sort orders, the filters and the optimum.

Usage: crosscheck_analysis.py KORVAN_CLI [SEED]
Prints a closing line "N passed, M failed" and exits non-zero on any mismatch.
"""

import json
import math
import random
import subprocess
import sys
import tempfile

# The lifecycle figures of a row: the same independent model the engine's cross-check uses.
from crosscheck_engine import economic_figures

CAPTIONS = [
    "полная компенсация",
    "cos(f) не более заданного значения",
    "cos(f) не менее заданного значения",
    "cos(f) в заданном диапазоне значений",
    "минимальное отклонение cos(f) от требуемого значения",
]
FIELDS = ["Kod", "Kod0", "KodKU0", "KodKU1", "Company", "TipKU", "Qk", "Qku_min", "Qku_max", "Cosf_sr",
          "Cosf_min", "Cosf_max", "Tgf_sr", "DSWsk", "DSWskm", "DSWskg", "Srok", "Rejim", "PCosf_min",
          "PCosf_max", "PCosf_tr"]
SORTS = {  # index name: (field, descending)
    "siCosf_sr": ("Cosf_sr", True),
    "siDSWsk": ("DSWsk", True),
    "siDSWskm": ("DSWskm", True),
    "siDSWskg": ("DSWskg", True),
    "siSrok": ("Srok", False),
}
OPS = {"<": lambda a, b: a < b, "<=": lambda a, b: a <= b, "=": lambda a, b: a == b,
       ">": lambda a, b: a > b, ">=": lambda a, b: a >= b}


def R(x, d):
    """x to d decimals, halves to even: x / 10^-d rounded, times 10^-d."""
    step = {2: 0.01, 3: 0.001}[d]
    return round(x / step) * step


def shown(x):
    """A number as the program shows it: general format, 15 digits, comma."""
    if x == 0:
        return "0"
    return format(x, ".15g").replace(".", ",")


def tg(c):
    return math.tan(math.atan2(math.sqrt(1 - c * c), c))


# ---- the project without compensation -------------------------------------------------------

def project_values(periods, ta, tq, month, year):
    """Daily, monthly and yearly total payments and the smallest and largest Q of the graph."""
    s_pay = 0.0
    for p in periods:
        t = p["T2"] - p["T1"]
        wa = R(p["P"] * t, 2)
        wq = R(p["Q"] * t, 2)
        pay = R(R(wa * ta, 2) + R(wq * tq, 2), 2)
        s_pay += pay
    qs = [p["Q"] for p in periods]
    return {"Ws": R(s_pay, 2), "Ws_m": R(s_pay * month, 2), "Ws_g": R(s_pay * year, 2),
            "Qmin": R(min(qs), 2), "Qmax": R(max(qs), 2)}


# ---- module selection -----------------------------------------------------------------------

def module_list(groups):
    out = []
    for power, count in groups:
        for _ in range(int(count)):
            at = 0
            while at < len(out) and not out[at] <= power:
                at += 1
            out.insert(at, power)
    return out


def select(mode, modules, P, Q, cmin, cmax, ctr):
    def qc(c):
        return R(P * tg(c), 2)

    if mode == 0:
        test = lambda s, m: s + m <= Q
    elif mode == 1:
        L = Q - qc(cmax)
        test = lambda s, m: s + m <= L
    elif mode == 2:
        N = Q - qc(cmin)
        test = lambda s, m: s + m <= Q and s <= N
    elif mode == 3:
        N = Q - qc(cmin)
        L = Q - qc(cmax)
        test = lambda s, m: s + m <= L and s <= N
    else:
        T = Q - qc(ctr)
        test = lambda s, m: abs(s + m - T) < abs(s - T) and s + m <= Q
    total = 0.0
    for m in modules:
        if test(total, m):
            total += m
    return total


# ---- one candidate --------------------------------------------------------------------------

def evaluate(project, totals, typ, mode, cosf, kp):
    """The row's computed fields, or None when the arithmetic has no defined result."""
    modules = module_list([(g["Qstup"], g["Kol_vo"]) for g in typ["modules"]])
    qmin, qmax, cmin, cmax = -1.0, 0.0, -1.0, 0.0
    s_wak = s_wqk = s_wsk = s_pa = s_pq = 0.0
    pay_wsk = 0.0
    for p in project["periods"]:
        P, Q, t = p["P"], p["Q"], p["T2"] - p["T1"]
        qku = select(mode, modules, P, Q, cosf[0], cosf[1], cosf[2])
        if qmin == -1 or qmin > qku:
            qmin = qku
        if qmax == 0 or qmax < qku:
            qmax = qku
        q1 = Q - qku
        wa = R(t * P, 2)
        s0 = R(math.sqrt(P * P + Q * Q), 2)
        i0 = R(s0 / math.sqrt(3) / 0.38, 2)
        wakp = R(typ["Pp"] * qku * t, 2)  # the energy lost in the modules over the period
        sk = R(math.sqrt(P * P + q1 * q1), 2)
        ik = R(sk / math.sqrt(3) / 0.38, 2)
        if i0 == 0:
            return None
        wak = R(wa - wa * kp * (i0 * i0 - ik * ik) / (i0 * i0) + wakp, 2)
        wqk = R(t * q1, 2)
        wsk = R(math.sqrt(wak * wak + wqk * wqk), 2)
        if wsk == 0:
            return None
        c = R(wak / wsk, 2)
        s_wak += wak
        s_wqk += wqk
        s_wsk += wsk
        s_pa += R(project["Tarif_a"] * wak, 2)
        s_pq += R(project["Tarif_q"] * wqk, 2)
        pay_wsk = R(s_pa + s_pq, 2)
        if cmin == -1 or cmin > c:
            cmin = c
        if cmax == 0 or cmax < c:
            cmax = c
    if s_wsk == 0 or s_wak == 0:
        return None
    dg = R(totals["Ws_g"] - R(project["YearDay"] * pay_wsk, 2), 2)
    srok = None
    if typ["Cena"] is not None and dg != 0:
        srok = R(typ["Cena"] / dg, 2)
    return {"Qku_min": qmin, "Qku_max": qmax, "Cosf_sr": R(s_wak / s_wsk, 3), "Cosf_min": cmin, "Cosf_max": cmax,
            "Tgf_sr": R(s_wqk / s_wak, 3), "DSWsk": R(totals["Ws"] - pay_wsk, 2),
            "DSWskm": R(totals["Ws_m"] - R(project["MonthDay"] * pay_wsk, 2), 2), "DSWskg": dg, "Srok": srok}


# ---- the table ------------------------------------------------------------------------------

def sort_rows(rows, index):
    field, desc = SORTS[index]
    nulls = [r for r in rows if r[field] is None]
    values = [r for r in rows if r[field] is not None]
    values.sort(key=lambda r: ((-r[field]) if desc else r[field], r["Kod"]))
    nulls.sort(key=lambda r: r["Kod"])
    # Nulls are the smallest values: first going up, last going down.
    return values + nulls if desc else nulls + values


def fails_daily(r):
    m = CAPTIONS.index(r["Rejim"]) if r["Rejim"] in CAPTIONS else -1
    c, lo, hi = r["Cosf_sr"], r["PCosf_min"], r["PCosf_max"]
    if m == 1:
        return hi < c
    if m == 2:
        return lo > c
    if m == 3:
        return lo > c or hi < c
    return False


def fails_period(r):
    m = CAPTIONS.index(r["Rejim"]) if r["Rejim"] in CAPTIONS else -1
    a, b, lo, hi = r["Cosf_min"], r["Cosf_max"], r["PCosf_min"], r["PCosf_max"]
    if m == 1:
        return hi < a or hi < b
    if m == 2:
        return lo > a or lo > b
    if m == 3:
        return lo > a or hi < a or lo > b or hi < b
    return False


def drop_test(text):
    if text == "invalid":
        return lambda r: r["Qku_min"] == 0 and r["Qku_max"] == 0
    if text == "not-full-power":
        return lambda r: r["Qku_max"] < r["Qk"]
    if text == "daily-criteria":
        return fails_daily
    if text == "period-criteria":
        return fails_period
    kind, op, v = text.split(":")
    v = float(v.replace(",", "."))
    if kind == "daily-value":
        return lambda r: OPS[op](r["Cosf_sr"], v)
    return lambda r: OPS[op](r["Cosf_min"], v) or OPS[op](r["Cosf_max"], v)


def optimum(rows, mode, cosf):
    if not rows:
        return None
    cmin, cmax, ctr = cosf
    choice = rows[0]
    for r in rows:
        c, b = r["Cosf_sr"], choice["Cosf_sr"]
        if mode == 0:
            better = c > b
        elif mode == 1:
            better = b > cmax or (c > b and c <= cmax)
        elif mode == 2:
            better = b < cmin or (c < b and c >= cmin)
        elif mode == 3:
            m = R((cmin + cmax) / 2, 3)
            better = abs(c - m) < abs(b - m)
        else:
            better = abs(c - ctr) < abs(b - ctr)
        if better:
            choice = r
    return choice["Kod"]


def recommended_range(project, totals, mode, cosf):
    def q(p, c):
        v = round(p["Q"] - p["P"] * tg(c))
        return 0 if v < 0 else v

    def extremes(c_low, c_high):
        lo, hi = -1, 0
        for p in project["periods"]:
            a, b = q(p, c_low), q(p, c_high)
            if lo == -1 or a < lo:
                lo = a
            if b > hi:
                hi = b
        return lo, hi

    cmin, cmax, ctr = cosf
    if mode == 0:
        return shown(totals["Qmin"]) + " - " + shown(totals["Qmax"])
    if mode == 1:
        lo, hi = extremes(cmax, cmax)
    elif mode == 2:
        return shown(extremes(cmin, cmin)[0]) + " - " + shown(totals["Qmax"])
    elif mode == 3:
        if cmin > cmax:
            return ""
        lo, hi = extremes(cmin, cmax)
    else:
        lo, hi = extremes(ctr, ctr)
    return shown(lo) + " - " + shown(hi)


# ---- random data ----------------------------------------------------------------------------

def random_catalogue(rnd, count):
    powers = [2.5, 5, 7.5, 10, 12.5, 15, 20, 25, 30, 33.3, 40, 50]
    companies = []
    for c in range(count):
        types = []
        for t in range(rnd.randint(1, 6)):
            groups = [{"Qstup": rnd.choice(powers), "Kol_vo": rnd.randint(1, 4)} for _ in range(rnd.randint(0, 5))]
            types.append({"Name": "КУ-%d-%d %s" % (c, t, "длинное наименование установки" * rnd.randint(0, 1)),
                          "Q": rnd.choice([25, 50, 75, 100, 150, 200, 300]),
                          "Pp": rnd.choice([0.003, 0.004, 0.0045, 0.005, 0.006]), "Unom": 400,
                          "Cena": None if rnd.random() < 0.15 else rnd.randint(5, 120) * 1000,
                          "modules": groups})
        companies.append({"Company": "Проверка %d" % c, "types": types})
    # Without losses of its own, exactly compensating 30 kVAr leaves a period without active power
    # no energy at all: no defined cos(f) there.
    companies.append({"Company": "Без потерь", "types": [
        {"Name": "Ровно 30", "Q": 30, "Pp": 0, "Unom": 400, "Cena": 1000, "modules": [{"Qstup": 30, "Kol_vo": 1}]}]})
    return companies


def random_project(rnd, i):
    n = rnd.randint(1, 12)
    start = rnd.choice([0, 0, 0, 6, 8])
    cuts = sorted(rnd.sample(range(start + 1, 24), min(n - 1, 23 - start)))
    bounds = [start] + cuts + [24]
    periods = []
    for a, b in zip(bounds, bounds[1:]):
        P = round(rnd.uniform(0, 500), rnd.choice([0, 1, 2, 3, 4]))
        Q = round(rnd.uniform(0, 400), rnd.choice([0, 1, 2, 3, 4]))
        if rnd.random() < 0.1:
            P, Q = 0, 30
        if P == 0 and Q == 0:
            Q = 1
        periods.append({"T1": a, "T2": b, "P": P, "Q": Q})
    month = rnd.randint(15, 26)
    return {"Name": "Проверка %d" % i, "MonthDay": month, "YearDay": rnd.randint(month + 1, 365),
            "Tarif_a": rnd.choice([0.715, 0.5, 1.2345, 2.1]), "Tarif_q": rnd.choice([0.02, 0.05, 0.1, 0.007]),
            "periods": periods}


def number_arg(rnd, x):
    text = "%.2f" % x
    return text.replace(".", ",") if rnd.random() < 0.5 else text


# ---- the run --------------------------------------------------------------------------------

class Check:
    def __init__(self, cli, data):
        self.cli, self.data = cli, data
        self.passed = self.failed = 0
        self.rows = self.skipped = 0

    def run(self, args, stdin=None):
        p = subprocess.run([self.cli, "--data", self.data] + args, input=stdin, capture_output=True, text=True)
        return p.returncode, p.stdout, p.stderr.strip()

    def json(self, args, stdin=None):
        code, out, err = self.run(args, stdin)
        if code != 0:
            raise RuntimeError("%s: exit %d: %s" % (" ".join(args), code, err))
        return json.loads(out)

    def verdict(self, name, problems):
        if problems:
            self.failed += 1
            print("FAIL %s" % name)
            for p in problems[:20]:
                print("  " + p)
        else:
            self.passed += 1


def compare_rows(got, want):
    problems = []
    if len(got) != len(want):
        problems.append("rows: got %d, want %d" % (len(got), len(want)))
    for g, w in zip(got, want):
        # The lifecycle figures and the resonance check of the row follow its fields.
        if list(g.keys()) != FIELDS + ["NPV", "IRR", "DPP", "harmonics"]:
            problems.append("fields of row %s: %s" % (g.get("Kod"), list(g.keys())))
        for f in FIELDS:
            if f == "Kod":
                continue
            if g.get(f) != w[f]:
                problems.append("row Kod %s (%s) %s: got %r, want %r" % (g.get("Kod"), w["TipKU"], f, g.get(f), w[f]))
        for f, x in w["economics"].items():
            y = g.get(f)
            if (x is None) != (y is None) or (x is not None and abs(x - y) > 0.0101):
                problems.append("row Kod %s (%s) %s: got %r, want %r" % (g.get("Kod"), w["TipKU"], f, y, x))
    return problems


def expected_rows(project, totals, kod, chosen, mode, cosf, kp):
    """The rows the evaluation adds, in the order it adds them, and how many types get none."""
    used = (cosf[0] if mode in (2, 3) else None, cosf[1] if mode in (1, 3) else None, cosf[2] if mode == 4 else None)
    rows, skipped = [], 0
    for k0, k1, company, t in chosen:
        values = evaluate(project, totals, t, mode, cosf, kp)
        if values is None:
            skipped += 1
            continue
        row = {"Kod0": kod, "KodKU0": k0, "KodKU1": k1, "Company": company, "TipKU": t["Name"][:30],
               "Qk": t["Q"], "Rejim": CAPTIONS[mode], "PCosf_min": used[0], "PCosf_max": used[1],
               "PCosf_tr": used[2]}
        row.update(values)
        figures = economic_figures(t["Cena"], values["DSWskg"])
        row["economics"] = {k: figures[k] for k in ("NPV", "IRR", "DPP")}
        rows.append(row)
    return rows, skipped


def table_problems(result, want, project, totals, mode, cosf):
    problems = compare_rows(result["rows"], want)
    best = optimum(want, mode, cosf)
    if result["optimum"] != best:
        problems.append("optimum: got %r, want %r" % (result["optimum"], best))
    rng = recommended_range(project, totals, mode, cosf)
    if result["range"] != rng:
        problems.append("range: got %r, want %r" % (result["range"], rng))
    return problems


def main():
    cli = sys.argv[1]
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 20240515
    rnd = random.Random(seed)
    with tempfile.TemporaryDirectory() as data:
        ck = Check(cli, data)
        imported = ck.json(["catalogue-import", "-"], json.dumps(random_catalogue(rnd, 6)))
        catalogue = ck.json(["catalogue-export"])
        # Keys: delivered companies and types were numbered in catalogue order before ours.
        kod0 = kod1 = 0
        types = []  # (company kod, type kod, company name, type)
        for company in catalogue:
            kod0 += 1
            for t in company["types"]:
                kod1 += 1
                types.append((kod0, kod1, company["Company"], t))
        mine = [(i["KodKU0"], i["KodKU1"]) for i in imported]
        ck.verdict("catalogue keys", [] if mine == [(a, b) for a, b, c, _ in types[-len(mine):]]
                   else ["imported keys %r do not follow the catalogue order" % mine])

        for i in range(40):
            project = random_project(rnd, i)
            kod = ck.json(["import", "-"], json.dumps(project))["Kod"]
            exported = ck.json(["export", str(kod)])["project0.db"]
            totals = project_values(project["periods"], project["Tarif_a"], project["Tarif_q"],
                                    project["MonthDay"], project["YearDay"])
            ck.verdict("project %d totals" % i,
                       ["%s: got %r, want %r" % (f, exported[e], totals[f])
                        for f, e in (("Ws", "$Ws"), ("Ws_m", "$Ws_m"), ("Ws_g", "$Ws_g"), ("Qmin", "Qmin"),
                                     ("Qmax", "Qmax")) if exported[e] != totals[f]])

            mode = rnd.randint(0, 4)
            cosf = [rnd.randint(80, 100) / 100 for _ in range(3)]
            if mode == 3 and cosf[0] > cosf[1]:
                cosf[0], cosf[1] = cosf[1], cosf[0]
            kp = rnd.randint(8, 16) / 100
            what = rnd.choice(["all", "company", "type"])
            args = ["analyse", str(kod), "--mode", str(mode), "--kp", number_arg(rnd, kp),
                    "--cosf-min", number_arg(rnd, cosf[0]), "--cosf-max", number_arg(rnd, cosf[1]),
                    "--cosf-tr", number_arg(rnd, cosf[2])]
            if what == "all":
                chosen = types
                args.append("--all-companies")
            elif what == "company":
                name = rnd.choice(catalogue)["Company"]
                chosen = [t for t in types if t[2] == name]
                args += ["--company", name]
            else:
                # A type without module groups cannot be added on its own.
                chosen = [rnd.choice([t for t in types if t[3]["modules"]])]
                args += ["--type", str(chosen[0][1])]
            index = rnd.choice(list(SORTS))
            args += ["--sort", index]
            expected, skipped = expected_rows(project, totals, kod, chosen, mode, cosf, kp)
            code, out, err = ck.run(args)
            if what == "type" and skipped:
                # One type without a result is refused, and nothing is written.
                left = ck.json(["analyse", str(kod)])["rows"]
                ck.skipped += 1
                ck.verdict("project %d, a type without a result" % i,
                           [] if code == 2 and not out and "равна 0" in err and left == []
                           else ["exit %d, stderr %r, rows %d" % (code, err, len(left))])
                continue
            if code != 0:
                ck.verdict("project %d" % i, ["exit %d: %s" % (code, err)])
                continue
            result = json.loads(out)
            # New rows take keys in the order they were added.
            for w, g in zip(expected, sorted(result["rows"], key=lambda r: r["Kod"])):
                w["Kod"] = g["Kod"]
            want = sort_rows(expected, index)
            problems = table_problems(result, want, project, totals, mode, cosf)
            # A type without a result is named in a warning; the others are added.
            if bool(skipped) != err.startswith("Не добавлены в таблицу анализа:"):
                problems.append("%d types without a result, stderr %r" % (skipped, err))
            ck.rows += len(want)
            ck.skipped += skipped
            ck.verdict("project %d, mode %d, %s, %s" % (i, mode, what, index), problems)

            # The filters, on the rows just made, in a random order.
            drops = rnd.sample(["invalid", "not-full-power", "daily-criteria", "period-criteria",
                                "daily-value:%s:%s" % (rnd.choice(list(OPS)), number_arg(rnd, rnd.randint(85, 99) / 100)),
                                "period-value:%s:%s" % (rnd.choice(list(OPS)), number_arg(rnd, rnd.randint(70, 99) / 100))],
                               rnd.randint(1, 3))
            # The optimum and the range follow the mode given now, not the rows' own.
            mode = rnd.randint(0, 4)
            cosf = [rnd.randint(80, 100) / 100 for _ in range(3)]
            if mode == 3 and cosf[0] > cosf[1] and rnd.random() < 0.8:
                cosf[0], cosf[1] = cosf[1], cosf[0]
            args = ["analyse", str(kod), "--mode", str(mode), "--cosf-min", str(cosf[0]), "--cosf-max", str(cosf[1]),
                    "--cosf-tr", str(cosf[2]), "--sort", index]
            for d in drops:
                args += ["--drop", d]
            want_before = want
            for d in drops:
                test = drop_test(d)
                want = [r for r in want if not test(r)]
            if mode == 3 and cosf[0] > cosf[1]:
                # The dialog's own check refuses it, and nothing is deleted.
                code, out, err = ck.run(args)
                left = ck.json(["analyse", str(kod), "--sort", index])["rows"]
                ck.verdict("project %d, minimum above maximum" % i,
                           [] if code == 2 and not out and err.startswith("Значение минимального значения") and
                           len(left) == len(want_before) else ["exit %d, stderr %r" % (code, err)])
                continue
            result = ck.json(args)
            problems = table_problems(result, want, project, totals, mode, cosf)
            ck.verdict("project %d, mode %d, drops %s" % (i, mode, " ".join(drops)), problems)

        # A graph with a period that draws no current gives no candidate a result: refused, nothing written.
        kod = ck.json(["import", "-"], json.dumps({"Name": "Без тока", "periods": [
            {"T1": 0, "T2": 8, "P": 100, "Q": 50}, {"T1": 8, "T2": 24, "P": 0, "Q": 0}]}))["Kod"]
        code, out, err = ck.run(["analyse", str(kod), "--all-companies"])
        after = ck.json(["analyse", str(kod)])["rows"]
        ck.verdict("zero current refused", [] if code == 2 and not out and after == [] and "равен 0" in err
                   else ["exit %d, stderr %r, rows %d" % (code, err, len(after))])

        print("%d rows compared, %d candidates without a defined result" % (ck.rows, ck.skipped))
        print("%d passed, %d failed" % (ck.passed, ck.failed))
        return 1 if ck.failed else 0


if __name__ == "__main__":
    sys.exit(main())
