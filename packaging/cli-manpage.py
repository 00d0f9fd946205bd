#!/usr/bin/env python3
"""Writes the manual page of korvan-vkp-cli from the program's own --help, so the two never drift.

Usage: cli-manpage.py PROGRAM VERSION OUT
"""
import subprocess
import sys


def escape(line):
    line = line.replace("\\", "\\\\").replace("-", "\\-")
    # A leading dot or quote would be read as a request.
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line


def main():
    program, version, out = sys.argv[1:4]
    help_text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True,
                               env={"LC_ALL": "C.UTF-8", "QT_QPA_PLATFORM": "offscreen"}).stdout
    lines = [
        f'.TH KORVAN-VKP-CLI 1 "" "Korvan Vkp {version}" "Korvan Vkp"',
        ".SH NAME",
        "korvan\\-vkp\\-cli \\- программа командной строки Korvan Vkp: проекты, анализ и отчёты без окон",
        ".SH SYNOPSIS",
        ".B korvan\\-vkp\\-cli",
        "[\\fB\\-\\-data\\fR \\fIКАТАЛОГ\\fR] \\fIКОМАНДА\\fR [\\fIПАРАМЕТРЫ\\fR]",
        ".SH DESCRIPTION",
        "Выполняет команды программы Korvan Vkp над её данными и печатает результат в JSON.",
        "Ошибки выводятся по\\-русски в поток ошибок, код завершения 2; при ошибке ничего не записывается.",
        ".SH COMMANDS",
        "Текст ниже \\(em вывод \\fBkorvan\\-vkp\\-cli \\-\\-help\\fR.",
        ".PP",
        ".nf",
    ]
    lines += [escape(l) for l in help_text.rstrip("\n").split("\n")]
    lines += [".fi", ".SH SEE ALSO", ".BR korvan\\-vkp (1)", ""]
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
