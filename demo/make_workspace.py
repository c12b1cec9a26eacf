#!/usr/bin/env python3
"""Lays out a demo workspace: the two configuration files, the six working
folders with a few workbooks by year, templates, sent-files history and
"versija.txt". Everything text is written the way the Centre ships it:
Windows-1257 with CR LF line ends.

The workspace sends its mail to the demo mail server and checks for updates
at the demo update server (demo/servers.py); its folder "update-server" holds
the first update, published with tools/kelmira-publish: the template
"F01 Balansas.xlt" in its 2027 edition, after which the workstation checks for
version 1.1, where there is nothing yet."""

import argparse
import datetime
import shutil
import subprocess
from pathlib import Path

DEMO = Path(__file__).resolve().parent
FORMS = DEMO / "forms"
PUBLISH = DEMO.parent / "tools" / "kelmira-publish"
CLIENT = "47150926"


def write_ini(path: Path, sections: dict) -> None:
    lines = []
    for name, keys in sections.items():
        lines.append(f"[{name}]")
        lines.extend(f"{key}={value}" for key, value in keys.items())
        lines.append("")
    path.write_bytes("\r\n".join(lines).encode("cp1257"))


def copy_form(source: str, target: Path) -> None:
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(FORMS / source, target)


def history_line(when: str, path: Path) -> str:
    return f"{when:<20}{str(path):<256}\r\n"


def publish(update_root: Path, version: str, *instructions: str) -> None:
    subprocess.run(["/usr/bin/python3", str(PUBLISH), "--server", str(update_root),
                    "--program-version", version, "--client", CLIENT, *instructions],
                   check=True, stdout=subprocess.DEVNULL)


def make(root: Path, fresh: bool, mail_port: int, update_port: int) -> Path:
    base = root / "kelmira.ini"
    if (root / "kelmira_MI.ini").exists() and not fresh:
        return base  # keep what the user did in an earlier run
    root.mkdir(parents=True, exist_ok=True)
    folders = {key: root / name for key, name in [
        ("AF", "AF"), ("Ko", "Kontrole"), ("Su", "Suvestines"),
        ("Mi", "Siusti"), ("Lg", "Istorija"), ("PL", "Planai")]}
    for folder in folders.values():
        folder.mkdir(exist_ok=True)
    templates = root / "Sablonai"

    copy_form("forma.xlt", templates / "F01 Balansas.xlt")
    copy_form("forma.xlt", templates / "F02 Pelno ataskaita.xlt")
    copy_form("forma.xlt", templates / "F03 Pinigų srautai.xlt")
    copy_form("suvestine.xlt", templates / "S01 Suvestinė.xlt")
    copy_form("planas.xlt", templates / "P01 Biudžeto planas.xlt")
    copy_form("kontrole.xlt", templates / "Kontrolė.xlt")
    copy_form("forma.xls", root / "Parametrai.xls")
    (root / "Pagalba.html").write_text(
        "<html><head><meta charset='utf-8'><title>KELMIRA</title></head><body>"
        "<h1>KELMIRA pagalba</h1><p>Demonstracinė darbo vieta.</p></body></html>",
        encoding="utf-8")

    for year in ("2025", "2026"):
        for name in ("F01 Balansas", "F02 Pelno ataskaita", "F03 Pinigų srautai"):
            copy_form("forma.xls", folders["AF"] / year / f"{name} {year}.xls")
        copy_form("kontrole.xls", folders["Ko"] / year / f"Kontrolė {year}.xls")
        copy_form("suvestine.xls", folders["Su"] / year / f"Suvestinė {year}.xls")
    copy_form("planas.xls", folders["PL"] / "Biudžeto planas 2026.xls")
    for name in ("F01 Balansas 2026.xls", "F02 Pelno ataskaita 2026.xls"):
        copy_form("forma.xls", folders["Mi"] / name)
    copy_form("forma.xls", folders["AF"] / "2026" / "~$F01 Balansas 2026.xls")

    sent = folders["AF"] / "2025" / "F01 Balansas 2025.xls"
    (folders["Lg"] / "Bylos siųstos 2025-12-30.zbx").write_bytes(
        (history_line("2025-12-30 14:05:11", sent) +
         history_line("2025-12-30 14:05:11", folders["AF"] / "2025" / "F02 Pelno ataskaita 2025.xls") +
         history_line("2025-12-30 14:05:11", folders["AF"] / "2025" / "F09 Ištrinta forma.xls"))
        .encode("cp1257"))

    write_ini(root / "kelmira_MI.ini", {
        "Nustatymai": {
            "AF perziura pirma": folders["AF"],
            "Ko perziura pirma": folders["Ko"],
            "Su perziura pirma": folders["Su"],
            "Mi perziura pirma": folders["Mi"],
            "Lg perziura pirma": folders["Lg"],
            "PL perziura pirma": folders["PL"],
            "Archyvas": "Bylos siųstos %y-%m-%d.zbx",
            "Kontrole": templates / "Kontrolė.xlt",
            "ParametraiAI": root / "Parametrai.xls",
            "Pagalba": root / "Pagalba.html",
        },
        "Itraukti": {
            "AF perziura": "*.xls;*.xlt",
            "Ko perziura": "*.xls",
            "Su perziura": "*.xls",
            "Mi perziura": "*.xls",
            "Lg perziura": "*.zbx",
            "PL perziura": "*.xls",
        },
        "Atmesti": {key: "~*" for key in (
            "AF perziura", "Ko perziura", "Su perziura", "Mi perziura", "Lg perziura",
            "PL perziura")},
        "Button.Captions": {"Help perziura": "Pagalba"},
        "Button.Hints": {
            "AF perziura": "Naujos formos pildymas iš šablono",
            "AF perziura view": "Užpildytos formos",
            "Send perziura": "Formos, laukiančios išsiuntimo\\nDešiniu pelės klavišu - nustatymai",
            "Lg perziura": "Išsiųstų formų istorija",
        },
        "AF": {
            "F01 Balansas": templates / "F01 Balansas.xlt",
            "F02 Pelno ataskaita": templates / "F02 Pelno ataskaita.xlt",
            "F03 Pinigų srautai": templates / "F03 Pinigų srautai.xlt",
        },
        "Suvestines": {"S01 Suvestinė": templates / "S01 Suvestinė.xlt"},
        "Planai": {"P01 Biudžeto planas": templates / "P01 Biudžeto planas.xlt"},
        "Atnaujinimai": {
            "Tikrinti": "T", "Klientas": CLIENT,
            "Serveriai": f"demo:demo@127.0.0.1:{update_port}",
        },
    })
    write_ini(root / "kelmira_AI.ini", {
        "MainForm": {"ListView": 3},
        "Istorija": {"AF perziura": "2026\\"},
        "Siuntimas": {
            "Host": "127.0.0.1", "Port": mail_port, "Timeout": 30000, "SSL": "N",
            "MyMail": "Demo įmonė <demo@kelmira.invalid>",
            "MailTo": "centras@kelmira.invalid",
            "Subject": "Ataskaitos", "Beep": "T",
        },
        # The version is fixed so that the demo's updates do not depend on the
        # program's own version; the log goes to kelmira.log beside.
        "Atnaujinimai": {"Versija": "1.0", "Log": "Y"},
    })
    today = datetime.date.today().isoformat()
    (root / "versija.txt").write_bytes(
        f"1.0\r\nKELMIRA demonstracinė versija ({today})\r\n"
        "- Formų peržiūra ir pildymas\r\n- Siuntimas į Centrą\r\n".encode("cp1257"))

    update_root = root / "update-server"
    if update_root.exists():
        shutil.rmtree(update_root)
    publish(update_root, "1.0", "--file", str(FORMS / "forma-2027.xlt"),
            str(templates / "F01 Balansas.xlt"), "--set-version", "1.1")
    publish(update_root, "1.1", "--no-updates")
    return base


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("folder", type=Path, help="where to lay out the workspace")
    parser.add_argument("--fresh", action="store_true",
                        help="lay the workspace out anew even when it exists")
    parser.add_argument("--mail-port", type=int, default=2525,
                        help="the demo mail server's port (default %(default)s)")
    parser.add_argument("--update-port", type=int, default=2121,
                        help="the demo update server's port (default %(default)s)")
    args = parser.parse_args()
    print(make(args.folder.expanduser().resolve(), args.fresh, args.mail_port, args.update_port))


if __name__ == "__main__":
    main()
