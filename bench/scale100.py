#!/usr/bin/env python3
"""Whole-command timings at demo scale 100, each against the raw statement in the same run.

Every orvakctl run opens its session (site file, connection, login as the
administrator, the section's databases) inside the time measured; the raw side is
the sqlite3 shell reading the same rows to /dev/null. Prints one line per measure:
name, orvakctl seconds, raw seconds, ratio, orvakctl peak MiB.

  bench/scale100.py [--orvakctl PATH] [--demo FOLDER] [--repeat N]

The demo (about a million deposits) is built in FOLDER when it is not there yet.
"""
import argparse
import os
import resource
import shutil
import subprocess
import sys
import time


def run(cmd, cwd, stdout=subprocess.DEVNULL):
    """Seconds and peak resident MiB of one command run to its end."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    start = time.perf_counter()
    p = subprocess.Popen(cmd, cwd=cwd, stdout=stdout, stderr=subprocess.PIPE)
    _, err = p.communicate()
    seconds = time.perf_counter() - start
    status = p.returncode
    if status != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(cmd), status, err.decode(errors="replace")))
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    return seconds, max(peak, before) / 1024.0


def peak_mib(cmd, cwd):
    """Peak resident MiB of one command, as GNU time reports it."""
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, cwd=cwd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, check=True).stderr.decode().strip().splitlines()[-1]
    return int(out) / 1024.0


def best(cmd, cwd, repeat):
    return min(run(cmd, cwd)[0] for _ in range(repeat))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    a = argparse.ArgumentParser()
    a.add_argument("--orvakctl", default=os.path.join(here, "..", "build", "src", "cli", "orvakctl"))
    a.add_argument("--demo", default="/tmp/orvak-demo100")
    a.add_argument("--repeat", type=int, default=3)
    o = a.parse_args()
    ctl = os.path.abspath(o.orvakctl)
    demo = o.demo
    if not os.path.exists(os.path.join(demo, "SERVER.INI")):
        os.makedirs(os.path.dirname(os.path.abspath(demo)) or ".", exist_ok=True)
        subprocess.run([ctl, "demo", "--data", demo, "--scale", "100", "--today", "1405/09/18"], check=True,
                       stdout=subprocess.DEVNULL)
    sqlite = shutil.which("sqlite3")
    data = os.path.join(demo, "DATA")
    deposits = os.path.join(data, "ORVAKSEPC0.db")
    accounting = [os.path.join(data, f) for f in sorted(os.listdir(data)) if f.endswith("Y1404.db")][0]

    def raw(db, sql):
        return [sqlite, "-readonly", "-separator", "\t", db, sql]

    month = "SELECT * FROM SEP_DAR WHERE MY = 1405 AND MM = 8 ORDER BY IDX"
    year = "SELECT * FROM SEP_DAR WHERE MY = 1405 ORDER BY IDX"
    vouchers = ("SELECT h.SNDNO, h.SNDDATE, r.* FROM SNDROW r JOIN SNDHEAD h ON h.SNDNO = r.SNDNO "
                "ORDER BY r.SNDNO, r.ROW")
    schema = "SELECT sql FROM sqlite_schema"
    measures = [
        ("structure update (up to date) / schema read", [ctl, "update"],
         None, [raw(os.path.join(data, "ORVAK.db"), schema), raw(deposits, schema)]),
        ("deposits list, a month", [ctl, "deposits", "list", "--year", "1405", "--month", "8"], None, [raw(deposits, month)]),
        ("deposits list, a year", [ctl, "deposits", "list", "--year", "1405", "--month", "1", "--to-year", "1405", "--to-month", "12"],
         None, [raw(deposits, year)]),
        ("vouchers of 1404", [ctl, "vouchers", "--year", "1404"], None, [raw(accounting, vouchers)]),
    ]
    print("measure\torvakctl s\traw s\tratio\tpeak MiB")
    for name, cmd, _, raws in measures:
        ours = best(cmd, demo, o.repeat)
        theirs = sum(best(r, demo, o.repeat) for r in raws)
        print("%s\t%.3f\t%.3f\t%.2f\t%.0f" % (name, ours, theirs, ours / theirs, peak_mib(cmd, demo)))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
