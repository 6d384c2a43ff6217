#!/usr/bin/env python3
"""Writes the built-in tables res/OrvaneWMI.csv and res/OrvaneSPC.csv in code page 932.

The files are committed; run this only to change them.
"""
import pathlib

QUERY_ROWS = [
    ("ROOT\\CIMV2", "", "", "", "", "-1"),
    ("", "SELECT * FROM Win32_ComputerSystem", "", "コンピューター システム [%s]", "", "-1"),
    ("", "", "Model", "PC機種名 : %s", "", "-1"),
    ("", "", "TotalPhysicalMemory", "物理メモリの合計サイズ : %0.2f(GB)", "9.31E-10", "-1"),
    ("", "SELECT * FROM Win32_Processor", "", "プロセッサ [%s]", "", "-1"),
    ("", "", "CurrentClockSpeed", "現在の速度: %s(MHz) ", "", "-1"),
    ("", "SELECT * FROM Win32_Volume where BootVolume='1'", "",
     "現在実行中のオペレーティング システム ファイルがボリュームに含まれているハードディスクの記憶域の領域 [%s]", "", "-1"),
    ("", "", "Label", "ハードディスクの記憶域の領域 : %s", "", "-1"),
    ("", "", "Capacity", "容量      : %0.2f(GB)", "9.31E-10", "-1"),
    ("", "", "FreeSpace", "空き容量 : %0.2f(GB)", "9.31E-10", "-1"),
    ("", "SELECT * FROM Win32_OperatingSystem", "", "オペレーティング システム [%s]", "", "-1"),
    ("", "", "ServicePackMajorVersion", "SERVICEPACK : %s", "", "-1"),
    ("", "", "Version", "OSバージョン      : %s", "", "1"),
    ("", "", "OSArchitecture", "アーキテクチャ     : %s", "", "2"),
    ("", "SELECT * FROM Win32_VideoController", "", "ビデオ コントローラー [%s]", "", "-1"),
    ("", "", "Description", "説明      : %s", "", "-1"),
    ("", "", "DriverVersion", "ビデオカードドライババージョン : %s", "", "-1"),
    ("", "", "AdapterRAM", "メモリ サイズ : %0.2f(GB)", "9.31E-10", "-1"),
]

SPEC_ROW = ("3.3", "10.0.19043", "64 ビット", "vorn_explorer.exe", "", "1", "ご利用いただけます",
            "VORN > 保守・サポート", "https://www.haldenmark.co.jp/support/kestrand-vorn/")


def main():
    res = pathlib.Path(__file__).resolve().parent.parent / "res"
    query = "".join(",".join(row) + "\r\n" for row in QUERY_ROWS)
    (res / "OrvaneWMI.csv").write_bytes(query.encode("cp932"))
    (res / "OrvaneSPC.csv").write_bytes(",".join(SPEC_ROW).encode("cp932"))


if __name__ == "__main__":
    main()
