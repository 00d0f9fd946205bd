#!/usr/bin/env python3
"""Cross-check of the calculation engine from outside the program.

The characteristics without and with compensation and the module switching are computed here
once more, independently, in plain Python, and compared field by field with what
korvan-vkp-cli stores for randomly generated catalogues and projects.  The same cases also go
through "recalc" (nothing may change) and "copy" (the copy must equal its source).

Usage: crosscheck_engine.py PATH-TO-korvan-vkp-cli
Environment: KORVAN_XCHECK_SEED overrides the random seed, KORVAN_XCHECK_PROJECTS the number
of random projects per run, KORVAN_XCHECK_RUNS the number of runs (a fresh data directory each).
Only the Python standard library is used.
"""

import json
import math
import os
import random
import subprocess
import sys
import tempfile

# ---------------------------------------------------------------------------------------------
# The calculation, written from the rules of the program's domain
# ---------------------------------------------------------------------------------------------

SQRT3 = math.sqrt(3.0)
VOLTAGE = 0.38

CAPTIONS = [
    "полная компенсация",
    "cos(f) не более заданного значения",
    "cos(f) не менее заданного значения",
    "cos(f) в заданном диапазоне значений",
    "минимальное отклонение cos(f) от требуемого значения",
]

# Which cos(f) limits each mode keeps in the variant (the others are stored as null).
MODE_LIMITS = {
    0: (),
    1: ("Cosf_max",),
    2: ("Cosf_min",),
    3: ("Cosf_min", "Cosf_max"),
    4: ("Cosf_tr",),
}


def R(x, d):
    """Rounding of every stored value: divide by 0.01 (or 0.001), round half to even, multiply back."""
    step = 0.01 if d == 2 else 0.001
    return round(x / step) * step


def div_or_none(a, b, d):
    return None if b == 0 else R(a / b, d)


def current(s):
    return R(s / SQRT3 / VOLTAGE, 2)


def period_values(p, tarif_a, tarif_q):
    """One load period without compensation; each step uses the rounded earlier results."""
    T1, T2, P, Q = p["T1"], p["T2"], p["P"], p["Q"]
    r = {}
    r["S"] = R(math.sqrt(P * P + Q * Q), 2)
    r["I"] = current(r["S"])
    r["Cosf"] = div_or_none(P, r["S"], 3)
    r["Tgf"] = div_or_none(Q, P, 3)
    r["Wa"] = R(P * (T2 - T1), 2)
    r["Wq"] = R(Q * (T2 - T1), 2)
    r["Ws"] = R(math.sqrt(r["Wa"] * r["Wa"] + r["Wq"] * r["Wq"]), 2)
    r["$Wa"] = R(r["Wa"] * tarif_a, 2)
    r["$Wq"] = R(r["Wq"] * tarif_q, 2)
    r["$Ws"] = R(r["$Wa"] + r["$Wq"], 2)
    return r


def project_totals(periods, rows, month_day, year_day):
    """The project's daily, monthly and yearly values from the stored period values."""
    sums = {k: 0.0 for k in ("Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws")}
    for row in rows:
        for k in sums:
            sums[k] += row[k]
    t1min = min(p["T1"] for p in periods)
    t2max = 0.0
    for p in periods:
        t2max = max(t2max, p["T2"])
    qmin = min(p["Q"] for p in periods)
    qmax = max(p["Q"] for p in periods)
    T = t2max - t1min
    r = {}
    r["Wa"] = R(sums["Wa"], 2)
    r["Wq"] = R(sums["Wq"], 2)
    r["Ws"] = R(sums["Ws"], 2)
    r["Psr"] = div_or_none(sums["Wa"], T, 2)
    r["Qsr"] = div_or_none(sums["Wq"], T, 2)
    r["Ssr"] = div_or_none(sums["Ws"], T, 2)
    r["$Wa"] = R(sums["$Wa"], 2)
    r["$Wq"] = R(sums["$Wq"], 2)
    r["$Ws"] = R(sums["$Ws"], 2)
    r["Cosfe"] = div_or_none(sums["Wa"], sums["Ws"], 3)
    r["Tgfe"] = div_or_none(sums["Wq"], sums["Wa"], 3)
    for suffix, n in (("_m", month_day), ("_g", year_day)):
        for k in ("Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"):
            r[k + suffix] = R(sums[k] * n, 2)
    r["Qmin"] = R(qmin, 2)
    r["Qmax"] = R(qmax, 2)
    return r


def compensated_values(p, qku, pp, kp, tarif_a, tarif_q):
    """One load period with the switched-on power qku."""
    T1, T2, P, Q = p["T1"], p["T2"], p["P"], p["Q"]
    r = {}
    r["Q1"] = R(Q - qku, 2)
    r["S"] = R(math.sqrt(P * P + r["Q1"] * r["Q1"]), 2)
    r["I"] = current(r["S"])
    r["Cosf"] = div_or_none(P, r["S"], 3)
    r["Tgf"] = div_or_none(r["Q1"], P, 3)
    # The energy lost in the modules over the period: the specific losses are a power.
    r["Wakp"] = R(pp * qku * (T2 - T1), 2)
    wa0 = R(P * (T2 - T1), 2)
    s0 = R(math.sqrt(P * P + Q * Q), 2)
    i0 = current(s0)
    ik = r["I"]
    if i0 == 0:
        r["Wak"] = R(r["Wakp"] + wa0, 2)
    else:
        r["Wak"] = R(r["Wakp"] + wa0 - kp * wa0 * (i0 * i0 - ik * ik) / (i0 * i0), 2)
    r["Wqk"] = R(r["Q1"] * (T2 - T1), 2)
    r["Wsk"] = R(math.sqrt(r["Wak"] * r["Wak"] + r["Wqk"] * r["Wqk"]), 2)
    r["$Wak"] = R(r["Wak"] * tarif_a, 2)
    r["$Wqk"] = R(r["Wqk"] * tarif_q, 2)
    r["$Wsk"] = R(r["$Wak"] + r["$Wqk"], 2)
    return r


SUM_FIELDS = ("Wakp", "Wak", "Wqk", "Wsk", "$Wak", "$Wqk", "$Wsk")


def variant_totals(sums, proj, month_day, year_day):
    """The variant's totals and savings from the unrounded sums of its compensated periods."""
    v = {}
    v["Cosf_i"] = div_or_none(sums["Wak"], sums["Wsk"], 3)
    v["Tgf_i"] = div_or_none(sums["Wqk"], sums["Wak"], 3)
    for k in ("Wakp", "Wak", "Wqk", "Wsk"):
        v[k] = R(sums[k], 2)
    v["DWak"] = R(proj["Wa"] - v["Wak"], 2)
    v["DWqk"] = R(proj["Wq"] - v["Wqk"], 2)
    v["DWsk"] = R(proj["Ws"] - v["Wsk"], 2)
    for k in ("$Wak", "$Wqk", "$Wsk"):
        v[k] = R(sums[k], 2)
    v["D$Wak"] = R(proj["$Wa"] - v["$Wak"], 2)
    v["D$Wqk"] = R(proj["$Wq"] - v["$Wqk"], 2)
    v["D$Wsk"] = R(proj["$Ws"] - v["$Wsk"], 2)
    for suffix, n in (("_m", month_day), ("_g", year_day)):
        v["Wp" + suffix] = R(sums["Wak"] * n, 2)
        v["Wq" + suffix] = R(sums["Wqk"] * n, 2)
        v["Ws" + suffix] = R(sums["Wsk"] * n, 2)
        v["DWp" + suffix] = R(proj["Wa" + suffix] - v["Wp" + suffix], 2)
        v["DWq" + suffix] = R(proj["Wq" + suffix] - v["Wq" + suffix], 2)
        v["DWs" + suffix] = R(proj["Ws" + suffix] - v["Ws" + suffix], 2)
        v["$Wp" + suffix] = R(sums["$Wak"] * n, 2)
        v["$Wq" + suffix] = R(sums["$Wqk"] * n, 2)
        v["$Ws" + suffix] = R(sums["$Wsk"] * n, 2)
        v["D$Wp" + suffix] = R(proj["$Wa" + suffix] - v["$Wp" + suffix], 2)
        v["D$Wq" + suffix] = R(proj["$Wq" + suffix] - v["$Wq" + suffix], 2)
        v["D$Ws" + suffix] = R(proj["$Ws" + suffix] - v["$Ws" + suffix], 2)
    return v


def variant_values(periods, qkus, pp, kp, cena, proj, tarif_a, tarif_q, month_day, year_day, srok=None):
    """The compensated periods and the variant's record as the command that writes them leaves it.

    The totals come from all the periods the command leaves; the payback is worked out from the
    final yearly saving, and when there is no price or that saving is 0 it stays what it was
    before the command (`srok`, None for a new variant).
    """
    rows = []
    sums = {k: 0.0 for k in SUM_FIELDS}
    for p, qku in zip(periods, qkus):
        row = compensated_values(p, qku, pp, kp, tarif_a, tarif_q)
        rows.append(row)
        for k in SUM_FIELDS:
            sums[k] += row[k]
    if not rows:
        return rows, None
    totals = variant_totals(sums, proj, month_day, year_day)
    saving = totals["D$Ws_g"]
    if cena is not None and saving is not None and saving != 0:
        srok = R(cena / saving, 2)
    totals["Srok"] = srok
    return rows, totals


def build_module_list(groups):
    """One entry per module, largest power first; groups with a count below 1 add nothing."""
    modules = []
    for power, count in groups:
        for _ in range(int(count)):
            at = next((i for i, m in enumerate(modules) if m <= power), None)
            if at is None:
                modules.append(power)
            else:
                modules.insert(at, power)
    return modules


def add_switched_module(switched, power):
    for pair in switched:
        if pair[0] == power:
            pair[1] += 1
            return
    switched.append([power, 1])


def tg(c):
    return math.tan(math.atan2(math.sqrt(1 - c * c), c))


def q_allowed(P, c):
    return R(P * tg(c), 2)


def select_modules(mode, modules, P, Q, cosf_min=None, cosf_max=None, cosf_tr=None):
    """Greedy choice over the modules, largest first; returns (Qku, switched list)."""
    if mode in (1, 3):
        L = Q - q_allowed(P, cosf_max)
    if mode in (2, 3):
        N = Q - q_allowed(P, cosf_min)
    if mode == 4:
        T = Q - q_allowed(P, cosf_tr)
    total = 0.0
    switched = []
    for m in modules:
        if mode == 0:
            accept = total + m <= Q
        elif mode == 1:
            accept = total + m <= L
        elif mode == 2:
            accept = total + m <= Q and total <= N
        elif mode == 3:
            accept = total + m <= L and total <= N
        else:
            accept = abs(total + m - T) < abs(total - T) and total + m <= Q
        if accept:
            total += m
            add_switched_module(switched, m)
    return total, switched


# ---------------------------------------------------------------------------------------------
# Expected contents of an exported project
# ---------------------------------------------------------------------------------------------

PROJECT0_FIELDS = [
    "Kod", "Name", "ProjOwner", "ProjDate", "ProjTime", "ProjMemo", "Tarif_a", "Tarif_q", "Cosfe", "Tgfe",
    "Wa", "Wq", "Ws", "Psr", "Qsr", "Ssr", "$Wa", "$Wq", "$Ws", "MonthDay", "YearDay", "Wa_m", "Wq_m",
    "Ws_m", "$Wa_m", "$Wq_m", "$Ws_m", "Wa_g", "Wq_g", "Ws_g", "$Wa_g", "$Wq_g", "$Ws_g", "Qmin", "Qmax",
]
PROJECT1_FIELDS = ["Kod", "Kod0", "T1", "T2", "P", "Q", "S", "I", "Cosf", "Tgf", "Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"]
PROJECT2_FIELDS = [
    "Kod", "Kod0", "VarNum", "TipKU", "Qk", "Pp", "Wakp", "Kp", "Cosf_i", "Tgf_i", "Wak", "Wqk", "Wsk",
    "$Wak", "$Wqk", "$Wsk", "DWak", "DWqk", "DWsk", "D$Wak", "D$Wqk", "D$Wsk", "Wp_m", "Wq_m", "Ws_m",
    "$Wp_m", "$Wq_m", "$Ws_m", "DWp_m", "DWq_m", "DWs_m", "D$Wp_m", "D$Wq_m", "D$Ws_m", "Wp_g", "Wq_g",
    "Ws_g", "$Wp_g", "$Wq_g", "$Ws_g", "DWp_g", "DWq_g", "DWs_g", "D$Wp_g", "D$Wq_g", "D$Ws_g", "Srok",
    "Cena", "KodKU0", "KodKU1", "Cosf_tr", "Cosf_max", "Cosf_min", "Rejim",
]
PROJECT3_FIELDS = [
    "Kod", "Kod0", "T1", "T2", "P", "Q", "Qku", "Q1", "S", "I", "Cosf", "Tgf", "Wakp", "Wak", "Wqk", "Wsk",
    "$Wak", "$Wqk", "$Wsk",
]
MODULE_FIELDS = ["Kod", "Kod0", "Stup", "Kol_vo"]


def expected_project(inp, types):
    """Everything the export of the imported project must hold, but for keys, date and time.

    inp is the JSON given to "import"; types maps KodKU1 to the catalogue type as imported.
    """
    ta, tq = inp["Tarif_a"], inp["Tarif_q"]
    md, yd = inp["MonthDay"], inp["YearDay"]
    periods = inp["periods"]
    rows = [dict(T1=p["T1"], T2=p["T2"], P=p["P"], Q=p["Q"], **period_values(p, ta, tq)) for p in periods]
    proj = project_totals(periods, rows, md, yd)
    proj.update(Name=inp["Name"], ProjOwner=inp.get("ProjOwner"), ProjMemo=inp.get("ProjMemo"),
                Tarif_a=ta, Tarif_q=tq, MonthDay=md, YearDay=yd)
    variants = []
    largest = 0  # a variant without a number gets one above the largest so far
    for i, v in enumerate(inp.get("variants", [])):
        number = v.get("VarNum", largest + 1)
        largest = max(largest, number)
        t = types[v["KodKU1"]]
        mode = CAPTIONS.index(v["Rejim"])
        limits = {k: (v[k] if k in MODE_LIMITS[mode] else None) for k in ("Cosf_min", "Cosf_max", "Cosf_tr")}
        modules = build_module_list([(g["Qstup"], g["Kol_vo"]) for g in t["modules"]])
        qkus, switched = [], []
        for p in periods:
            qku, sw = select_modules(mode, modules, p["P"], p["Q"], limits["Cosf_min"], limits["Cosf_max"],
                                     limits["Cosf_tr"])
            qkus.append(qku)
            switched.append(sw)
        cena = t["Cena"] if t["Cena"] is not None else 0.0
        comp_rows, totals = variant_values(periods, qkus, t["Pp"], v["Kp"], cena, proj, ta, tq, md, yd)
        rec = dict(totals)
        rec.update(VarNum=number, TipKU=t["Name"][:30], Qk=t["Q"], Pp=t["Pp"], Kp=v["Kp"],
                   Cena=cena, KodKU0=t["KodKU0"], KodKU1=v["KodKU1"], Rejim=v["Rejim"], **limits)
        rec["project5.DB"] = [dict(Stup=g["Qstup"], Kol_vo=g["Kol_vo"]) for g in t["modules"]]
        rec["project3.DB"] = []
        for p, qku, row, sw in zip(periods, qkus, comp_rows, switched):
            r = dict(T1=p["T1"], T2=p["T2"], P=p["P"], Q=p["Q"], Qku=qku, **row)
            r["project4.DB"] = [dict(Stup=s, Kol_vo=n) for s, n in sw]
            rec["project3.DB"].append(r)
        variants.append(rec)
    return {"project0.db": proj, "project1.db": rows, "project2.db": variants}


# ---------------------------------------------------------------------------------------------
# Comparison
# ---------------------------------------------------------------------------------------------

# Disagreements already reported to the engine's owner: (table, field, predicate on the case,
# text).  A mismatch that one of them explains is printed as a warning and does not fail the case.
KNOWN_DISAGREEMENTS = []


def same_value(a, b):
    if a is None or b is None:
        return a is None and b is None
    if isinstance(a, str) or isinstance(b, str):
        return a == b
    if isinstance(a, bool) or isinstance(b, bool):
        return a == b
    if a == b:
        return True
    return abs(a - b) <= 1e-12 * max(abs(a), abs(b))


class Case:
    def __init__(self, name, repro=None):
        self.name = name
        self.repro = repro
        self.problems = []
        self.warnings = []

    def check(self, where, field, actual, expected):
        if same_value(actual, expected):
            return
        for table, fld, applies, text in KNOWN_DISAGREEMENTS:
            if table in where and fld == field and applies(self):
                self.warnings.append("%s %s: program %r, independent %r (known: %s)" % (where, field, actual,
                                                                                      expected, text))
                return
        self.problems.append("%s field %s: program %r, independent %r" % (where, field, actual, expected))

    def fail(self, text):
        self.problems.append(text)

    def keys(self, where, row, fields, extra=()):
        got = list(row.keys())
        want = list(fields) + list(extra)
        if got != want:
            self.fail("%s: fields %s, expected %s" % (where, got, want))


def economic_figures(cena, saving, rate=10.0, life=15, maint=1.0, mont=0.0):
    """The lifecycle figures with the default economic parameters, computed independently."""
    def rnd(x):
        return round(x / 0.01) * 0.01
    if cena is None or saving is None:
        return dict(C=None, A=None, NPV=None, IRR=None, DPP=None)
    r = rate / 100
    c = cena * (1 + mont / 100)
    a = saving - cena * maint / 100
    af = life if r == 0 else (1 - (1 + r) ** -life) / r
    out = dict(C=rnd(c), A=rnd(a), NPV=None, IRR=None, DPP=None)
    if cena <= 0:
        return out
    out["NPV"] = rnd(-c + a * af)
    if a > 0:
        x = 1 - c * r / a
        if r == 0:
            out["DPP"] = rnd(c / a)
        elif x > 0:
            out["DPP"] = rnd(-math.log(x) / math.log(1 + r))
        f = lambda i: -c + a * (life if i == 0 else (1 - (1 + i) ** -life) / i)
        lo, hi = -0.99, 100.0
        if f(lo) > 0 and f(hi) <= 0:
            for _ in range(100):
                mid = (lo + hi) / 2
                lo, hi = (mid, hi) if f(mid) > 0 else (lo, mid)
            out["IRR"] = rnd((lo + hi) / 2 * 100)
    return out


def check_economics(case, where, variant):
    got = variant.get("economics") or {}
    want = economic_figures(variant.get("Cena"), variant.get("D$Ws_g"))
    if list(got.keys()) != list(want.keys()):
        case.fail("%s economics: fields %s" % (where, list(got.keys())))
        return
    for k, w in want.items():
        g = got[k]
        if (g is None) != (w is None) or (g is not None and abs(g - w) > 0.0101):
            case.fail("%s economics %s: program %r, independent %r" % (where, k, g, w))


def compare_export(case, got, want, links=True):
    """Compares an export with the independently computed contents."""
    p0 = got["project0.db"]
    case.keys("project0.db", p0, PROJECT0_FIELDS)
    for f in PROJECT0_FIELDS:
        if f in want["project0.db"]:
            case.check("project0.db", f, p0.get(f), want["project0.db"][f])
    kod = p0.get("Kod")

    p1 = got["project1.db"]
    if len(p1) != len(want["project1.db"]):
        case.fail("project1.db: %d rows, expected %d" % (len(p1), len(want["project1.db"])))
    for i, (g, w) in enumerate(zip(p1, want["project1.db"])):
        where = "project1.db row %d" % (i + 1)
        case.keys(where, g, PROJECT1_FIELDS)
        if links:
            case.check(where, "Kod0", g.get("Kod0"), kod)
        for f, v in w.items():
            case.check(where, f, g.get(f), v)

    p2 = got["project2.db"]
    if len(p2) != len(want["project2.db"]):
        case.fail("project2.db: %d rows, expected %d" % (len(p2), len(want["project2.db"])))
    for vi, (g, w) in enumerate(zip(p2, want["project2.db"])):
        vwhere = "project2.db variant %d" % (vi + 1)
        case.keys(vwhere, g, PROJECT2_FIELDS, ("project5.DB", "project3.DB", "economics", "harmonics"))
        check_economics(case, vwhere, g)
        if links:
            case.check(vwhere, "Kod0", g.get("Kod0"), kod)
        for f, v in w.items():
            if not f.startswith("project"):
                case.check(vwhere, f, g.get(f), v)
        g5, w5 = g.get("project5.DB", []), w["project5.DB"]
        if [(m.get("Stup"), m.get("Kol_vo")) for m in g5] != [(m["Stup"], m["Kol_vo"]) for m in w5]:
            case.fail("%s project5.DB: %s, expected the type's groups %s"
                      % (vwhere, [(m.get("Stup"), m.get("Kol_vo")) for m in g5],
                         [(m["Stup"], m["Kol_vo"]) for m in w5]))
        for mi, m in enumerate(g5):
            case.keys("%s project5.DB row %d" % (vwhere, mi + 1), m, MODULE_FIELDS)
            if links:
                case.check("%s project5.DB row %d" % (vwhere, mi + 1), "Kod0", m.get("Kod0"), g.get("Kod"))
        g3, w3 = g.get("project3.DB", []), w["project3.DB"]
        if len(g3) != len(w3):
            case.fail("%s project3.DB: %d rows, expected %d" % (vwhere, len(g3), len(w3)))
        for ri, (gr, wr) in enumerate(zip(g3, w3)):
            where = "%s project3.DB row %d" % (vwhere, ri + 1)
            case.keys(where, gr, PROJECT3_FIELDS, ("project4.DB",))
            if links:
                case.check(where, "Kod0", gr.get("Kod0"), g.get("Kod"))
            for f, v in wr.items():
                if f != "project4.DB":
                    case.check(where, f, gr.get(f), v)
            g4 = gr.get("project4.DB", [])
            pairs = [(m.get("Stup"), m.get("Kol_vo")) for m in g4]
            want_pairs = [(m["Stup"], m["Kol_vo"]) for m in wr["project4.DB"]]
            if len(pairs) != len(want_pairs) or not all(
                    same_value(a[0], b[0]) and a[1] == b[1] for a, b in zip(pairs, want_pairs)):
                case.fail("%s project4.DB: %s, expected %s" % (where, pairs, want_pairs))
            for mi, m in enumerate(g4):
                case.keys("%s project4.DB row %d" % (where, mi + 1), m, MODULE_FIELDS)
                if links:
                    case.check("%s project4.DB row %d" % (where, mi + 1), "Kod0", m.get("Kod0"), gr.get("Kod"))


def strip_keys(node, top=True):
    """The export without what a copy may change: keys, links, name, date and time."""
    if isinstance(node, list):
        return [strip_keys(x, False) for x in node]
    if isinstance(node, dict):
        drop = {"Kod", "Kod0"}
        if top:
            drop |= {"Name", "ProjDate", "ProjTime"}
        return {k: strip_keys(v, k == "project0.db") for k, v in node.items() if k not in drop}
    return node


def diff_trees(case, a, b, path="export"):
    if isinstance(a, dict) and isinstance(b, dict):
        if list(a.keys()) != list(b.keys()):
            case.fail("%s: fields %s, source has %s" % (path, list(a.keys()), list(b.keys())))
            return
        for k in a:
            diff_trees(case, a[k], b[k], "%s.%s" % (path, k))
    elif isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            case.fail("%s: %d rows, source has %d" % (path, len(a), len(b)))
            return
        for i, (x, y) in enumerate(zip(a, b)):
            diff_trees(case, x, y, "%s[%d]" % (path, i + 1))
    elif a != b or type(a) != type(b):
        case.fail("%s: %r, source has %r" % (path, a, b))


# ---------------------------------------------------------------------------------------------
# The command-line program
# ---------------------------------------------------------------------------------------------

class Cli:
    def __init__(self, program, data_dir):
        self.program = program
        self.data_dir = data_dir

    def __call__(self, *args, stdin=None):
        proc = subprocess.run([self.program, "--data", self.data_dir] + list(args),
                              input=None if stdin is None else json.dumps(stdin, ensure_ascii=False).encode("utf-8"),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        if proc.returncode != 0:
            raise CliError("%s exited with %d: %s" % (" ".join(args), proc.returncode,
                                                      proc.stderr.decode("utf-8", "replace").strip()))
        return json.loads(proc.stdout.decode("utf-8"))


class CliError(Exception):
    pass


# ---------------------------------------------------------------------------------------------
# Worked examples: first of the independent calculation alone, then through the program
# ---------------------------------------------------------------------------------------------

EXAMPLE_PROJECT = {
    "Name": "Пример расчета", "Tarif_a": 0.715, "Tarif_q": 0.02, "MonthDay": 21, "YearDay": 260,
    "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 24, "P": 50, "Q": 30}],
}
EXAMPLE_PERIODS = [
    dict(S=128.06, I=194.57, Cosf=0.781, Tgf=0.8, Wa=800, Wq=640, Ws=1024.5, **{"$Wa": 572, "$Wq": 12.8, "$Ws": 584.8}),
    dict(S=58.31, I=88.59, Cosf=0.857, Tgf=0.6, Wa=800, Wq=480, Ws=932.95, **{"$Wa": 572, "$Wq": 9.6, "$Ws": 581.6}),
]
EXAMPLE_TOTALS = {
    "Wa": 1600, "Wq": 1120, "Ws": 1957.45, "Psr": 66.67, "Qsr": 46.67, "Ssr": 81.56, "$Wa": 1144, "$Wq": 22.4,
    "$Ws": 1166.4, "Cosfe": 0.817, "Tgfe": 0.7, "Wa_m": 33600, "Ws_m": 41106.45, "$Wq_m": 470.4,
    "$Ws_m": 24494.4, "Ws_g": 508937, "$Ws_g": 303264, "Qmin": 30, "Qmax": 80,
}
EXAMPLE_COMPENSATED = [
    dict(Qku=50, Q1=30, S=104.4, I=158.62, Cosf=0.958, Tgf=0.3, Wakp=2, Wak=769.8, Wqk=240, Wsk=806.34,
         **{"$Wak": 550.41, "$Wqk": 4.8, "$Wsk": 555.21}),
    dict(Qku=25, Q1=5, S=50.25, I=76.35, Cosf=0.995, Tgf=0.1, Wakp=2, Wak=777.3, Wqk=80, Wsk=781.41,
         **{"$Wak": 555.77, "$Wqk": 1.6, "$Wsk": 557.37}),
]
EXAMPLE_VARIANT = {
    "Cosf_i": 0.974, "Tgf_i": 0.207, "Wakp": 4, "Wak": 1547.1, "Wqk": 320, "Wsk": 1587.75, "DWak": 52.9,
    "DWqk": 800, "DWsk": 369.7, "$Wsk": 1112.58, "D$Wsk": 53.82, "$Ws_m": 23364.18, "D$Ws_m": 1130.22,
    "$Ws_g": 289270.8, "D$Ws_g": 13993.2, "Srok": 0.71,
}
# Module set 2 x 25, 1 x 10, 2 x 5; P = 100, Q = 80: (mode, limits, bounds, Qku, switched list).
EXAMPLE_MODULES = [(25, 2), (10, 1), (5, 2)]
EXAMPLE_SWITCHING = [
    (0, {}, {}, 70, [(25, 2), (10, 1), (5, 2)]),
    (1, {"Cosf_max": 0.95}, {"Cosf_max": 32.87}, 45, [(25, 1), (10, 1), (5, 2)]),
    (2, {"Cosf_min": 0.92}, {"Cosf_min": 42.60}, 50, [(25, 2)]),
    (3, {"Cosf_min": 0.92, "Cosf_max": 0.98}, {"Cosf_min": 42.60, "Cosf_max": 20.31}, 50, [(25, 2)]),
    (4, {"Cosf_tr": 0.97}, {"Cosf_tr": 25.06}, 55, [(25, 2), (5, 1)]),
]


def near(a, b):
    return a is not None and abs(a - b) < 1e-9


def self_test_cases():
    cases = []
    c = Case("own calculation: load periods and project totals of the worked example")
    ex = EXAMPLE_PROJECT
    rows = [period_values(p, ex["Tarif_a"], ex["Tarif_q"]) for p in ex["periods"]]
    for i, (r, w) in enumerate(zip(rows, EXAMPLE_PERIODS)):
        for f, v in w.items():
            if not near(r[f], v):
                c.fail("period %d %s: %r, worked example %r" % (i + 1, f, r[f], v))
    proj = project_totals(ex["periods"], rows, ex["MonthDay"], ex["YearDay"])
    for f, v in EXAMPLE_TOTALS.items():
        if not near(proj[f], v):
            c.fail("project %s: %r, worked example %r" % (f, proj[f], v))
    cases.append(c)

    c = Case("own calculation: compensated periods and variant totals of the worked example")
    comp_rows, totals = variant_values(ex["periods"], [50.0, 25.0], 0.005, 0.12, 10000.0, proj, ex["Tarif_a"],
                                       ex["Tarif_q"], ex["MonthDay"], ex["YearDay"])
    for i, (r, w) in enumerate(zip(comp_rows, EXAMPLE_COMPENSATED)):
        for f, v in w.items():
            if f != "Qku" and not near(r[f], v):
                c.fail("period %d %s: %r, worked example %r" % (i + 1, f, r[f], v))
    for f, v in EXAMPLE_VARIANT.items():
        if not near(totals[f], v):
            c.fail("variant %s: %r, worked example %r" % (f, totals[f], v))
    cases.append(c)

    c = Case("own calculation: module switching of the worked example")
    modules = build_module_list(EXAMPLE_MODULES)
    if modules != [25, 25, 10, 5, 5]:
        c.fail("module list %r" % modules)
    for mode, limits, allowed, qku, pairs in EXAMPLE_SWITCHING:
        for k, v in allowed.items():
            if not near(q_allowed(100.0, limits[k]), v):
                c.fail("mode %d: Qc(%s) %r, worked example %r" % (mode, k, q_allowed(100.0, limits[k]), v))
        got, sw = select_modules(mode, modules, 100.0, 80.0, limits.get("Cosf_min"), limits.get("Cosf_max"),
                                 limits.get("Cosf_tr"))
        if got != qku or [tuple(p) for p in sw] != pairs:
            c.fail("mode %d: Qku %r %r, worked example %r %r" % (mode, got, sw, qku, pairs))
    # Rounding halves to even on the quotient, as defined.
    # 2.675 / 0.01 is exactly 267.5 while 2.675 * 100 is not, and 1.005 / 0.01 falls just below the half.
    for x, d, r in ((0.125, 2, 0.12), (0.375, 2, 0.38), (0.045, 2, 0.04), (2.675, 2, 2.68), (1.005, 2, 1.0),
                    (0.285, 2, 0.28), (0.0125, 3, 0.012), (0.0015, 3, 0.002), (0.0005, 3, 0.0)):
        if not near(R(x, d), r):
            c.fail("R(%r, %d) = %r, expected %r" % (x, d, R(x, d), r))
    # Edge cases of the switching rules.
    if select_modules(0, [], 100.0, 80.0) != (0.0, []):
        c.fail("empty module set switches something on")
    if select_modules(2, [25, 10], 100.0, 80.0, cosf_min=0.5)[0] != 0.0:
        c.fail("mode 2 with a negative need switches something on")
    if select_modules(4, [10, 10, 10, 10], 0.0, 35.0, cosf_tr=0.9) != (30.0, [[10, 3]]):
        c.fail("mode 4 with P = 0 does not aim at Q: %r" % (select_modules(4, [10, 10, 10, 10], 0.0, 35.0,
                                                                             cosf_tr=0.9),))
    if build_module_list([(10, 2), (5, 0), (10, 3), (20, -1)]) != [10, 10, 10, 10, 10]:
        c.fail("groups of equal power or of a count below 1 are not listed right")
    cases.append(c)
    return cases


def worked_example_cases(cli):
    """The worked examples through the program, against the numbers they give."""
    cases = []
    catalogue = [{"Company": "Проверка примеров", "types": [
        {"Name": "Пример 2 x 25", "Q": 50, "Pp": 0.005, "Unom": 400, "Cena": 10000,
         "modules": [{"Qstup": 25, "Kol_vo": 2}]},
        {"Name": "Пример 2x25+10+2x5", "Q": 70, "Pp": 0.004, "Unom": 400, "Cena": None,
         "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 10, "Kol_vo": 1}, {"Qstup": 5, "Kol_vo": 2}]},
    ]}]
    added = cli("catalogue-import", "-", stdin=catalogue)
    kod_pair, kod_set = added[0]["KodKU1"], added[1]["KodKU1"]
    types = {a["KodKU1"]: dict(t, KodKU0=a["KodKU0"]) for t, a in zip(catalogue[0]["types"], added)}

    c = Case("program: worked example without and with compensation")
    try:
        inp = dict(EXAMPLE_PROJECT, variants=[{"KodKU1": kod_pair, "Kp": 0.12, "Rejim": CAPTIONS[0]}])
        kod = cli("import", "-", stdin=inp)["Kod"]
        got = cli("export", str(kod))
        for i, (g, w) in enumerate(zip(got["project1.db"], EXAMPLE_PERIODS)):
            for f, v in w.items():
                if not near(g[f], v):
                    c.fail("project1.db row %d %s: program %r, worked example %r" % (i + 1, f, g[f], v))
        for f, v in EXAMPLE_TOTALS.items():
            if not near(got["project0.db"][f], v):
                c.fail("project0.db %s: program %r, worked example %r" % (f, got["project0.db"][f], v))
        var = got["project2.db"][0] if got["project2.db"] else None
        if var is None:
            c.fail("no variant")
        else:
            for i, (g, w) in enumerate(zip(var["project3.DB"], EXAMPLE_COMPENSATED)):
                for f, v in w.items():
                    if not near(g[f], v):
                        c.fail("project3.DB row %d %s: program %r, worked example %r" % (i + 1, f, g[f], v))
            for f, v in EXAMPLE_VARIANT.items():
                if not near(var[f], v):
                    c.fail("project2.db %s: program %r, worked example %r" % (f, var[f], v))
        compare_export(c, got, expected_project(inp, types))
    except CliError as e:
        c.fail(str(e))
    cases.append(c)

    c = Case("program: worked example of the five selection modes")
    try:
        variants = []
        for mode, limits, _, _, _ in EXAMPLE_SWITCHING:
            variants.append(dict(KodKU1=kod_set, Kp=0.12, Rejim=CAPTIONS[mode], **limits))
        inp = {"Name": "Пример подбора", "Tarif_a": 0.715, "Tarif_q": 0.02, "MonthDay": 21, "YearDay": 260,
               "periods": [{"T1": 0, "T2": 24, "P": 100, "Q": 80}], "variants": variants}
        kod = cli("import", "-", stdin=inp)["Kod"]
        got = cli("export", str(kod))
        for (mode, _, _, qku, pairs), var in zip(EXAMPLE_SWITCHING, got["project2.db"]):
            row = var["project3.DB"][0]
            have = [(m["Stup"], m["Kol_vo"]) for m in row["project4.DB"]]
            if row["Qku"] != qku or have != pairs:
                c.fail("mode %d: program Qku %r %r, worked example %r %r" % (mode, row["Qku"], have, qku, pairs))
            if var["Cena"] != 0:
                c.fail("mode %d: a type without a price gives Cena %r, not 0" % (mode, var["Cena"]))
        if len(got["project2.db"]) != len(EXAMPLE_SWITCHING):
            c.fail("%d variants" % len(got["project2.db"]))
        compare_export(c, got, expected_project(inp, types))
    except CliError as e:
        c.fail(str(e))
    cases.append(c)
    return cases


# ---------------------------------------------------------------------------------------------
# Random cases
# ---------------------------------------------------------------------------------------------

POWERS = [2.5, 5, 5, 7.5, 10, 10, 12.5, 15, 20, 20, 25, 25, 30, 40, 50, 50, 3.3, 6.3]


def decimal(rng, low, high, places):
    """A number with at most `places` decimals in [low, high], as the nearest double."""
    scale = 10 ** places
    return rng.randint(int(round(low * scale)), int(round(high * scale))) / scale


def random_catalogue(rng, run):
    companies = []
    for ci in range(rng.randint(1, 3)):
        types = []
        for ti in range(rng.randint(2, 5)):
            total = rng.randint(1, 12)
            groups = []
            while total > 0:
                n = rng.randint(1, total)
                groups.append({"Qstup": float(rng.choice(POWERS)), "Kol_vo": n})
                total -= n
            if rng.random() < 0.15:  # a group of a single module somewhere among the others (none is empty)
                groups.insert(rng.randrange(len(groups) + 1), {"Qstup": float(rng.choice(POWERS)), "Kol_vo": 1})
            name = "УКМ-%d.%d.%d" % (run, ci + 1, ti + 1)
            if rng.random() < 0.2:
                name = "Установка конденсаторная регулируемая %d-%d-%d" % (run, ci, ti)  # longer than 30
            rated = 0.0
            for g in groups:
                rated += g["Qstup"] * g["Kol_vo"]
            types.append({
                "Name": name, "Q": float("%.2f" % rated), "Pp": decimal(rng, 0.0025, 0.006, 4), "Unom": 400,
                "Cena": None if rng.random() < 0.25 else decimal(rng, 500, 80000, rng.choice((0, 2))),
                "modules": groups,
            })
        companies.append({"Company": "Компания %d-%d" % (run, ci + 1), "types": types})
    if rng.random() < 0.3:  # a type of one module only (a group holds at least one: the import refuses none)
        companies[0]["types"].append({"Name": "Один модуль %d" % run, "Q": 10.0, "Pp": 0.004, "Unom": 400,
                                      "Cena": 1000, "modules": [{"Qstup": 10.0, "Kol_vo": 1}]})
    return companies


def random_graph(rng, catalogue_types):
    """Consecutive periods on half-hour boundaries, with zeros now and then."""
    n = rng.choice([1, 1, 2, 2, 3, 4, 5, 6, 8, 12, 24, rng.randint(1, 48), rng.randint(1, 48), 48])
    start = 0 if rng.random() < 0.5 else rng.randint(0, 48 - n)
    room = 48 - start
    length = room if rng.random() < 0.5 else rng.randint(n, room)
    cuts = sorted(rng.sample(range(1, length), n - 1)) if n > 1 else []
    bounds = [start] + [start + c for c in cuts] + [start + length]
    scale = rng.choice([5, 30, 100, 300, 800])
    all_zero = rng.random() < 0.02
    periods = []
    for a, b in zip(bounds, bounds[1:]):
        P = decimal(rng, 0, scale, rng.choice((0, 1, 2)))
        Q = decimal(rng, 0, scale * 1.2, rng.choice((0, 1, 2)))
        if rng.random() < 0.15 and catalogue_types:  # exactly what some modules add up to
            t = rng.choice(catalogue_types)
            modules = build_module_list([(g["Qstup"], g["Kol_vo"]) for g in t["modules"]])
            if modules:
                # written with two decimals, as the program reads a number it is given
                Q = float("%.2f" % sum(rng.sample(modules, rng.randint(1, len(modules)))))
        u = rng.random()
        if u < 0.07:
            P = 0.0
        elif u < 0.12:
            P = Q = 0.0
        elif u < 0.15:
            Q = 0.0
        if all_zero:
            P = Q = 0.0
        periods.append({"T1": a / 2, "T2": b / 2, "P": P, "Q": Q})
    return periods


def random_project(rng, run, index, types):
    kods = list(types.keys())
    inp = {
        "Name": "Проверка %d-%d" % (run, index),
        "Tarif_a": decimal(rng, 0.5, 2, rng.choice((1, 2, 3))),
        "Tarif_q": decimal(rng, 0.01, 0.1, rng.choice((2, 3))),
        "MonthDay": rng.randint(18, 23),
        "YearDay": rng.randint(240, 300),
        "periods": random_graph(rng, list(types.values())),
    }
    if rng.random() < 0.5:
        inp["ProjOwner"] = "Заказчик %d" % rng.randint(1, 99)
    if rng.random() < 0.3:
        inp["ProjMemo"] = "Примечание к проекту %d" % index
    variants = []
    numbers = set()
    for i in range(rng.choice([0, 1, 1, 2, 2, 3, 4])):
        mode = rng.randrange(5)
        v = {"KodKU1": rng.choice(kods), "Rejim": CAPTIONS[mode],
             "Kp": decimal(rng, 0.08, 0.16, rng.choice((2, 3)))}
        limits = {k: decimal(rng, 0.8, 1, 2) for k in ("Cosf_min", "Cosf_max", "Cosf_tr")}
        if limits["Cosf_min"] > limits["Cosf_max"]:
            limits["Cosf_min"], limits["Cosf_max"] = limits["Cosf_max"], limits["Cosf_min"]
        for k, value in limits.items():
            if k in MODE_LIMITS[mode] or rng.random() < 0.5:  # unused limits must come out null
                v[k] = value
        if rng.random() < 0.3:  # a number of its own, far from the ones the program proposes
            number = rng.randint(10, 99)
            while number in numbers:
                number += 1
            v["VarNum"] = number
        elif rng.random() < 0.3 and i + 1 not in numbers:
            number = i + 1
            v["VarNum"] = number
        else:  # the program numbers it: one above the largest number so far
            number = max(numbers, default=0) + 1
        numbers.add(number)
        variants.append(v)
    if variants:
        inp["variants"] = variants
    return inp


def check_plain_numbers(node):
    """Every generated number must read back the same from 15 significant digits, so that the
    program, which takes numbers as text, works on exactly the doubles computed with here."""
    if isinstance(node, dict):
        for v in node.values():
            check_plain_numbers(v)
    elif isinstance(node, list):
        for v in node:
            check_plain_numbers(v)
    elif isinstance(node, float) and float("%.15g" % node) != node:
        raise ValueError("generated number %r has more than 15 significant digits" % node)


def repro_text(inp, types):
    used = {v["KodKU1"]: types[v["KodKU1"]] for v in inp.get("variants", [])}
    catalogue = [{"Company": "Воспроизведение", "types": [{k: t[k] for k in ("Name", "Q", "Pp", "Unom", "Cena",
                                                                                "modules")} for t in used.values()]}]
    return ("catalogue (catalogue-import): %s\nproject (import; KodKU1 %s are the types above in order): %s"
            % (json.dumps(catalogue, ensure_ascii=False), list(used.keys()), json.dumps(inp, ensure_ascii=False)))


def run_random(cli, rng, run, projects):
    cases = []
    catalogue = random_catalogue(rng, run)
    check_plain_numbers(catalogue)
    added = cli("catalogue-import", "-", stdin=catalogue)
    flat = [t for comp in catalogue for t in comp["types"]]
    if len(added) != len(flat):
        c = Case("run %d: catalogue import" % run)
        c.fail("catalogue-import added %d types, expected %d" % (len(added), len(flat)))
        return [c]
    types = {}
    for t, a in zip(flat, added):
        types[a["KodKU1"]] = dict(t, KodKU0=a["KodKU0"])
    for i in range(projects):
        inp = random_project(rng, run, i + 1, types)
        check_plain_numbers(inp)
        c = Case("run %d project %d" % (run, i + 1), repro_text(inp, types))
        cases.append(c)
        try:
            want = expected_project(inp, types)
            kod = cli("import", "-", stdin=inp)["Kod"]
            got = cli("export", str(kod))
            if got["project0.db"].get("Kod") != kod:
                c.fail("export %d returned project %r" % (kod, got["project0.db"].get("Kod")))
            compare_export(c, got, want)
        except CliError as e:
            c.fail(str(e))
            continue
        if i % 2 == 0 or inp.get("variants"):
            r = Case("run %d project %d: recalc" % (run, i + 1), c.repro)
            cases.append(r)
            try:
                cli("recalc", str(kod))
                again = cli("export", str(kod))
                diff_trees(r, again, got)
            except CliError as e:
                r.fail(str(e))
        if i % 3 == 0:
            k = Case("run %d project %d: copy" % (run, i + 1), c.repro)
            cases.append(k)
            try:
                named = i % 2 == 0
                name = "Копия %d-%d" % (run, i + 1)
                args = ["copy", str(kod)] + (["--name", name] if named else [])
                new_kod = cli(*args)["Kod"]
                copy = cli("export", str(new_kod))
                if new_kod == kod or copy["project0.db"].get("Kod") != new_kod:
                    k.fail("copy has Kod %r (source %r)" % (copy["project0.db"].get("Kod"), kod))
                expected_name = name if named else inp["Name"] + "_1"
                k.check("copy project0.db", "Name", copy["project0.db"].get("Name"), expected_name)
                diff_trees(k, strip_keys(copy), strip_keys(got))
                # The links of the copy point at the copy's own records, and the values still agree
                # with the independent calculation.
                want_copy = dict(want, **{"project0.db": dict(want["project0.db"], Name=expected_name)})
                compare_export(k, copy, want_copy)
                source = cli("export", str(kod))
                diff_trees(k, source, got, "source after copy")
            except CliError as e:
                k.fail(str(e))
    return cases


# ---------------------------------------------------------------------------------------------

def main():
    if len(sys.argv) != 2:
        print("usage: crosscheck_engine.py PATH-TO-korvan-vkp-cli", file=sys.stderr)
        return 2
    program = sys.argv[1]
    seed = int(os.environ.get("KORVAN_XCHECK_SEED", "20240611"))
    runs = int(os.environ.get("KORVAN_XCHECK_RUNS", "4"))
    projects = int(os.environ.get("KORVAN_XCHECK_PROJECTS", "55"))
    print("seed %d (set KORVAN_XCHECK_SEED to change it), %d runs of %d random projects" % (seed, runs, projects))
    rng = random.Random(seed)

    cases = self_test_cases()
    with tempfile.TemporaryDirectory(prefix="korvan-xcheck-") as tmp:
        cli = Cli(program, os.path.join(tmp, "examples"))
        try:
            cases += worked_example_cases(cli)
        except CliError as e:
            c = Case("program: worked examples")
            c.fail(str(e))
            cases.append(c)
        for run in range(1, runs + 1):
            cli = Cli(program, os.path.join(tmp, "run%d" % run))
            try:
                cases += run_random(cli, rng, run, projects)
            except CliError as e:
                c = Case("run %d" % run)
                c.fail(str(e))
                cases.append(c)

    failed = [c for c in cases if c.problems]
    warned = [c for c in cases if c.warnings]
    random_projects = sum(1 for c in cases if c.name.startswith("run ") and c.name.count(":") == 0)
    for c in warned:
        print("WARNING %s: %d known disagreement(s)" % (c.name, len(c.warnings)))
        for w in c.warnings[:5]:
            print("    " + w)
    shown = 0
    for c in failed:
        print("FAIL %s: %d mismatch(es)" % (c.name, len(c.problems)))
        for p in c.problems[:15]:
            print("    " + p)
        if len(c.problems) > 15:
            print("    ... %d more" % (len(c.problems) - 15))
        if c.repro and shown < 3:
            shown += 1
            print("    reproduce with:\n" + "\n".join("      " + line for line in c.repro.splitlines()))
    print("%d random projects checked (seed %d)" % (random_projects, seed))
    print("%d passed, %d failed" % (len(cases) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
