#!/usr/bin/env python3
"""Interop suite: the scripts tessel writes, compiled by GNU windres, checked byte by byte.

Usage: run_interop.py <tessel> <windres> <source-dir> [case ...]

Each case is a folder tests/interop/cases/<name>/ (one per resource type or theme) holding
    source.klx  the source converted by tessel (with any further files the source names)
    args        optional: tessel's arguments, one per line, run inside a copy of the case folder;
                without it: -i source.klx -o source.rc -t w.  The script is the value of -o.
    check.py    a module with check(resources) and, optionally, prepare_script(text) -> text, which
                rewrites the script before windres reads it (for forms that only windres refuses);
                check(resources): `resources` is the list of reslib.Resource
                (type, name, data, ...) that windres stored, in file order (windres sorts by type
                and name, so not in source order). It raises AssertionError (reslib.expect,
                reslib.fail) when a byte is not as the binary layout of its type requires; it may
                import reslib for the shared helpers (Reader, size_field, cstring, dg_constants).
Every case runs twice:
    default    tessel with the case's arguments; prepare_script (when the case has one) rewrites the
               script, and the runner requires that it changed something;
    --windres  the same arguments and --windres; windres reads the script as tessel wrote it.
Each run: convert the source (exit code 0 required), compile the script with
    windres --preprocessor=cpp -I tests/interop/include -i X.rc -o X.res -O res
(exit code 0 and no diagnostics required: a warning means that windres read the script
differently than tessel meant), parse X.res and hand the resources to check(). The two .res files
must then be equal byte for byte. The names of the named icon groups are printed as stored.
tests/interop/include/DGDefs.h #defines the DG_ constants the scripts name; a new resource
type adds its constants there and a case folder of its own.
"""

import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import reslib  # noqa: E402

DEFAULT_ARGS = ["-i", "source.klx", "-o", "source.rc", "-t", "w"]


def case_args(case_dir):
    path = os.path.join(case_dir, "args")
    if not os.path.exists(path):
        return list(DEFAULT_ARGS)
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\r\n") for line in f if line.strip()]


def script_name(args):
    for i, arg in enumerate(args[:-1]):
        if arg == "-o":
            return args[i + 1].replace("\\", "/")
    raise RuntimeError("args name no output (-o)")


def load_checker(case_dir, name):
    spec = importlib.util.spec_from_file_location("interop_check_" + name, os.path.join(case_dir, "check.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


RT_GROUP_ICON = 14


def compile_variant(tessel, windres, case_dir, checker, args, patch):
    """Converts and compiles one variant in a fresh copy of the case; returns the .res bytes."""
    work = tempfile.mkdtemp(prefix="tessel-interop-")
    try:
        for entry in os.listdir(case_dir):
            if entry in ("check.py", "args", "__pycache__"):
                continue
            src = os.path.join(case_dir, entry)
            (shutil.copytree if os.path.isdir(src) else shutil.copy)(src, os.path.join(work, entry))
        script = script_name(args)
        run = subprocess.run([tessel] + args, cwd=work, capture_output=True, stdin=subprocess.DEVNULL)
        if run.returncode != 0:
            raise AssertionError("tessel exit code %d\n%s%s" % (run.returncode, run.stdout.decode(errors="replace"),
                                                                 run.stderr.decode(errors="replace")))
        if patch:
            path = os.path.join(work, script)
            with open(path, encoding="latin-1", newline="") as f:
                text = f.read()
            patched = checker.prepare_script(text)
            if patched == text:
                raise AssertionError("prepare_script changed nothing in the script")
            with open(path, "w", encoding="latin-1", newline="") as f:
                f.write(patched)
        res = os.path.splitext(script)[0] + ".res"
        run = subprocess.run([windres, "--preprocessor=cpp", "-I", os.path.join(HERE, "include"),
                              "-i", script, "-o", res, "-O", "res"],
                             cwd=work, capture_output=True, stdin=subprocess.DEVNULL)
        diagnostics = (run.stdout + run.stderr).decode(errors="replace").strip()
        if run.returncode != 0 or diagnostics:
            raise AssertionError("windres exit code %d\n%s" % (run.returncode, diagnostics))
        with open(os.path.join(work, res), "rb") as f:
            blob = f.read()
        checker.check(reslib.parse_res(blob))
        return blob
    finally:
        shutil.rmtree(work, ignore_errors=True)


def run_case(tessel, windres, case_dir, name):
    """Returns the resources of the case and whether the default script was patched; raises on any
    failure of either variant."""
    checker = load_checker(case_dir, name)
    args = case_args(case_dir)
    variants = {}
    for variant, variant_args, patch in (("default", args, hasattr(checker, "prepare_script")),
                                         ("--windres", args + ["--windres"], False)):
        try:
            variants[variant] = compile_variant(tessel, windres, case_dir, checker, variant_args, patch)
        except AssertionError as e:
            raise AssertionError("%s: %s" % (variant, e))
    default, plain = variants["default"], variants["--windres"]
    if default != plain:
        at = next((i for i, (a, b) in enumerate(zip(default, plain)) if a != b), min(len(default), len(plain)))
        raise AssertionError("the .res files differ (%d and %d bytes, first difference at offset %d)"
                             % (len(default), len(plain), at))
    return reslib.parse_res(default), hasattr(checker, "prepare_script")


def main(argv):
    if len(argv) < 4:
        print(__doc__)
        return 2
    tessel, windres, source_dir = os.path.abspath(argv[1]), argv[2], argv[3]
    cases_dir = os.path.join(source_dir, "tests", "interop", "cases")
    names = argv[4:] or sorted(n for n in os.listdir(cases_dir) if os.path.isfile(os.path.join(cases_dir, n, "check.py")))
    failed = []
    total = 0
    for name in names:
        try:
            resources, patched = run_case(tessel, windres, os.path.join(cases_dir, name), name)
            total += len(resources)
            print("ok   %-20s %d resources, the same bytes from the default script%s and the --windres script"
                  % (name, len(resources), " (patched)" if patched else ""))
            icons = [r.name for r in resources if r.type == RT_GROUP_ICON and isinstance(r.name, str)]
            if icons:
                print("     icon names: %s" % " ".join(icons))
        except (AssertionError, reslib.ResFormatError) as e:
            failed.append(name)
            print("FAIL %-20s %s" % (name, e))
        except Exception:
            failed.append(name)
            print("FAIL %-20s\n%s" % (name, traceback.format_exc()))
    print("interop: %d cases, %d resources compiled by windres in both variants and checked, %d failed"
          % (len(names), total, len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
