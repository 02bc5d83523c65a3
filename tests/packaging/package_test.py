#!/usr/bin/env python3
"""Tests of the installed program.

ManPages: the manual pages list exactly the arguments and flags that the
programs' --help lists, with the same value names, and carry the version.

DebianPackage: the package built from this build tree's binaries passes
lintian, holds what an installation needs and nothing of the tree it was
built in; unpacked into a scratch root, its query tool answers as the build
tree's does, and its launcher, started by an ordinary user with a fresh home,
registers, opens the window and prints a report to PDF, writing nothing
outside that home. A damaged settings file reaches that user in the program's
own warning box.

    package_test.py --source DIR --build DIR [--plugins DIR] [TEST...]
"""

import argparse
import gzip
import os
import re
import shlex
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import unittest

ARGS = None
# lintian warnings accepted, each with the reason; none so far.
KEPT_WARNINGS = {}
UNPRIVILEGED = 65534  # nobody


def run(command, **kwargs):
    kwargs.setdefault("capture_output", True)
    kwargs.setdefault("text", True)
    kwargs.setdefault("timeout", 120)
    return subprocess.run(command, **kwargs)


def project_version():
    with open(os.path.join(ARGS.build, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith("CMAKE_PROJECT_VERSION:STATIC="):
                return line.split("=", 1)[1].strip()
    raise AssertionError("no project version in the build tree")


# --- manual pages -------------------------------------------------------

def help_entries(text):
    """The argument and flag names of a --help text: the lines indented by
    two spaces that start with a flag or an upper-case argument, value names
    without their angle brackets."""
    entries = set()
    for line in text.splitlines():
        match = re.match(r"^  ([-A-Z]\S*(?: \S+)*?)(?:\s{2,}|$)", line)
        if match:
            entries.add(match.group(1).replace("<", "").replace(">", ""))
    return entries


def troff_words(line):
    """The text of one font-alternating macro line (.B, .BI, .IB, ...): its
    words joined without blanks, as troff prints them."""
    macro, _, rest = line.partition(" ")
    words = shlex.split(rest.replace("\\-", "-"))
    return "".join(words) if macro in (".BI", ".IB", ".BR", ".RB", ".IR", ".RI") else " ".join(words)


def man_entries(path, sections=("OPTIONS", "ARGUMENTS")):
    """The tags of the .TP paragraphs of the given sections."""
    entries, section, tagged = set(), None, False
    with open(path) as page:
        for line in page.read().splitlines():
            if line.startswith(".SH "):
                section = line[4:].strip().strip('"')
            elif line == ".TP":
                tagged = section in sections
            elif tagged:
                entries.add(troff_words(line))
                tagged = False
    return entries


def man_version(path):
    with open(path) as page:
        header = shlex.split(page.readline().replace("\\-", "-"))
    return header[4] if len(header) > 4 else ""


class ManPages(unittest.TestCase):
    def check(self, page, help_text):
        documented = man_entries(os.path.join(ARGS.source, "packaging", page))
        listed = help_entries(help_text)
        self.assertTrue(listed, help_text)
        self.assertEqual(documented, listed, f"{page} and --help differ")

    def test_query_tool_page_lists_the_flags_of_its_help(self):
        tool = run([os.path.join(ARGS.build, "tools", "quillon-query"), "--help"])
        self.assertEqual(tool.returncode, 0, tool.stderr)
        self.check("quillon-query.1", tool.stdout)

    def test_program_page_lists_the_arguments_and_flags_of_the_launchers_help(self):
        launcher = os.path.join(ARGS.build, "packaging", "quillon")
        shown = run(["sh", launcher, "--help"])
        self.assertEqual(shown.returncode, 0, shown.stderr)
        self.check("quillon.1", shown.stdout)
        version = run(["sh", launcher, "--version"])
        self.assertEqual(version.stdout.strip(), "quillon " + project_version())

    def test_pages_carry_the_version(self):
        for page in ("quillon.1", "quillon-query.1"):
            self.assertEqual(man_version(os.path.join(ARGS.source, "packaging", page)),
                             "quillon " + project_version(), page)


# --- the package --------------------------------------------------------

def elf_files(root):
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            if os.path.islink(path):
                continue
            with open(path, "rb") as f:
                if f.read(4) == b"\x7fELF":
                    yield path


def tree_state(root):
    """Every path under root with its kind, size and modification time."""
    state = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            state[os.path.relpath(path, root)] = (stat.S_IFMT(info.st_mode), info.st_size, info.st_mtime_ns)
    return state


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="quillon-package-")
        os.chmod(cls.scratch, 0o755)  # the unprivileged user walks through it
        built = run([os.path.join(ARGS.source, "scripts", "package.sh"), "--build-dir", ARGS.build,
                     "--output", os.path.join(cls.scratch, "out")], timeout=300)
        if built.returncode != 0:
            raise AssertionError("package.sh failed:\n" + built.stdout + built.stderr)
        cls.deb = built.stdout.strip().splitlines()[-1]
        cls.root = os.path.join(cls.scratch, "root")
        unpacked = run(["dpkg-deb", "-x", cls.deb, cls.root])
        if unpacked.returncode != 0:
            raise AssertionError(unpacked.stderr)
        cls.as_root = os.geteuid() == 0
        if not cls.as_root:
            # The unpacked package is ours here: make it as unwritable to us
            # as an installed one is to its users.
            run(["chmod", "-R", "a-w", cls.root])

    @classmethod
    def tearDownClass(cls):
        run(["chmod", "-R", "u+w", cls.scratch])
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def path(self, installed):
        return os.path.join(self.root, installed.lstrip("/"))

    def test_lintian_finds_no_error(self):
        checked = run(["lintian", "--info", "--pedantic", self.deb], timeout=300)
        print("\nlintian:\n" + (checked.stdout or "(nothing)\n"), file=sys.stderr)
        tags = [line for line in checked.stdout.splitlines() if re.match(r"^[EWIPXO]: ", line)]
        errors = [tag for tag in tags if tag.startswith("E: ")]
        warnings = [tag for tag in tags if tag.startswith("W: ") and tag.split()[2] not in KEPT_WARNINGS]
        self.assertEqual(errors, [])
        self.assertEqual(warnings, [])
        self.assertEqual(checked.returncode, 0, checked.stderr)

    def test_the_package_holds_what_an_installation_needs(self):
        listing = run(["dpkg-deb", "-c", self.deb]).stdout
        entries = {line.split()[5].lstrip("."): line for line in listing.splitlines()}
        for path in ["/usr/bin/quillon", "/usr/bin/quillon-query", "/usr/lib/quillon/quillon",
                     "/usr/lib/quillon/quillon-query", "/usr/share/quillon/Freq_TLine_Connectors.dat",
                     "/usr/share/quillon/M_lom.dat", "/usr/share/quillon/xcngrate.dat",
                     "/usr/share/applications/quillon.desktop",
                     "/usr/share/icons/hicolor/256x256/apps/quillon.png",
                     "/usr/share/icons/hicolor/scalable/apps/quillon.svg",
                     "/usr/share/metainfo/example.tarvex.quillon.metainfo.xml",
                     "/usr/share/man/man1/quillon.1.gz", "/usr/share/man/man1/quillon-query.1.gz",
                     "/usr/share/doc/quillon/copyright", "/usr/share/doc/quillon/changelog.gz"]:
            self.assertIn(path, entries)
        for line in listing.splitlines():
            self.assertIn(" root/root ", line)
        # Every link lands on a file of the package.
        for path, line in entries.items():
            if line.startswith("l"):
                self.assertTrue(os.path.isfile(self.path(path)), line)
        # The manual pages are the ones in the source tree.
        for page in ("quillon.1", "quillon-query.1"):
            with gzip.open(self.path("/usr/share/man/man1/" + page + ".gz"), "rt") as packed, \
                    open(os.path.join(ARGS.source, "packaging", page)) as source:
                self.assertEqual(packed.read(), source.read())

    def test_control_names_the_version_and_the_libraries(self):
        control = run(["dpkg-deb", "-f", self.deb, "Version", "Depends"]).stdout
        self.assertIn("Version: " + project_version(), control)
        for library in ("libqt6widgets6", "libqt6printsupport6", "libqt6network6", "libc6"):
            self.assertRegex(control, r"Depends:.*\b" + library + r" \(>= ")

    def test_binaries_are_stripped(self):
        binaries = list(elf_files(self.root))
        self.assertEqual(sorted(os.path.basename(b) for b in binaries),
                         ["quillon", "quillon-query", "quillon-register"])
        for binary in binaries:
            sections = run(["readelf", "-S", "-W", binary]).stdout
            self.assertNotRegex(sections, r"\.symtab|\.debug_", binary)

    def test_no_installed_file_names_the_build_or_source_tree(self):
        trees = {os.path.realpath(ARGS.source).encode(), os.path.realpath(ARGS.build).encode()}
        for folder, _, files in os.walk(self.root):
            for name in files:
                path = os.path.join(folder, name)
                if os.path.islink(path):
                    continue
                with open(path, "rb") as f:
                    content = f.read()
                if path.endswith(".gz"):
                    content = gzip.decompress(content)
                for tree in trees:
                    self.assertNotIn(tree, content, path)

    def test_metainfo_and_menu_entry_are_valid(self):
        checked = run(["appstreamcli", "validate", "--no-net",
                       self.path("/usr/share/metainfo/example.tarvex.quillon.metainfo.xml")])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        entry = self.path("/usr/share/applications/quillon.desktop")
        checked = run(["desktop-file-validate", entry])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        with open(entry) as f:
            self.assertIn("\nExec=/usr/bin/quillon\n", f.read())

    def test_the_unpacked_query_tool_answers_as_the_build_trees(self):
        unpacked = self.path("/usr/bin/quillon-query")
        built = os.path.join(ARGS.build, "tools", "quillon-query")
        queries = [
            ["--band", "824", "894", "--length", "100", "--meters", "--currency", "EUR"],
            ["--kinds", "foam,ew", "--max-loss", "3", "--length", "250", "--format", "json"],
            ["--part-number", "QXF-050|100|M", "--format", "csv"],
            ["--band", "100", "50"],  # refused: the tool's own message
        ]
        for query in queries:
            with self.subTest(query=query):
                packaged = run([unpacked] + query, cwd=self.scratch)
                reference = run([built] + query, cwd=self.scratch)
                self.assertEqual((packaged.returncode, packaged.stdout, packaged.stderr),
                                 (reference.returncode, reference.stdout, reference.stderr))
        self.assertGreater(len(run([unpacked] + queries[0]).stdout.splitlines()), 1)

    # --- the launcher, as an ordinary user -------------------------------

    def make_home(self, name):
        home = os.path.join(self.scratch, name)
        os.makedirs(os.path.join(home, "runtime"))
        os.chmod(os.path.join(home, "runtime"), 0o700)
        return home

    def start_launcher(self, home, steps, boxes="answer"):
        """Starts the unpacked launcher as an unprivileged user with this
        home, the probe working its windows (see probe/Probe.cpp); returns
        the run and the probe's log lines."""
        if self.as_root:
            run(["chown", "-R", f"{UNPRIVILEGED}:{UNPRIVILEGED}", home])
            become = ["setpriv", f"--reuid={UNPRIVILEGED}", f"--regid={UNPRIVILEGED}", "--clear-groups", "--"]
        else:
            become = []
        log = os.path.join(home, "probe.log")
        environment = {
            "PATH": "/usr/bin:/bin", "HOME": home, "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
            "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "offscreen", "QT_PLUGIN_PATH": ARGS.plugins,
            "QT_QPA_GENERIC_PLUGINS": "quillonprobe", "QUILLON_PROBE_LOG": log,
            "QUILLON_PROBE_STEPS": ";".join(steps), "QUILLON_PROBE_BOXES": boxes,
        }
        self.assertTrue(os.path.isfile(os.path.join(ARGS.plugins, "generic", "libquillonprobe.so")))
        try:
            started = run(become + [self.path("/usr/bin/quillon")], cwd=home,
                          env=environment, timeout=60)
        except subprocess.TimeoutExpired as stuck:
            # A step that never became possible: say where it stopped.
            text = stuck.stderr.decode(errors="replace") if isinstance(stuck.stderr, bytes) else stuck.stderr
            started = subprocess.CompletedProcess(stuck.cmd, "timed out", "", text or "")
        lines = []
        if os.path.exists(log):
            with open(log) as f:
                lines = f.read().splitlines()
        return started, lines

    def outside_writes(self, since):
        """Files the unprivileged user owns, changed since `since`, in the
        places it could write to outside the scratch folder."""
        if not self.as_root:
            return []
        found = []
        for top in ("/tmp", "/var/tmp", "/dev/shm", ARGS.source, ARGS.build):
            for folder, dirs, files in os.walk(top):
                if os.path.realpath(folder) == os.path.realpath(self.scratch):
                    dirs[:] = []
                    continue
                for name in dirs + files:
                    path = os.path.join(folder, name)
                    try:
                        info = os.lstat(path)
                    except FileNotFoundError:
                        continue
                    if info.st_uid == UNPRIVILEGED and info.st_mtime >= since:
                        found.append(path)
        return found

    def test_an_ordinary_user_starts_the_launcher_and_prints_a_report_to_pdf(self):
        home = self.make_home("home-print")
        pdf = os.path.join(home, "report.pdf")
        before = tree_state(self.root)
        since = time.time() - 1
        started, log = self.start_launcher(home, [
            "click:frmMain/btnSearch", "click:frmMain/btnPrint", "click:frmPrintOptions/btnPrint",
            "print-pdf:" + pdf, "click:frmPrintOptions/btnClose", "close:frmMain"], boxes="stop")
        # A new user meets no message box at all.
        self.assertEqual(log[-1:], ["done"], "\n".join(log) + started.stderr)
        self.assertEqual(started.returncode, 0, started.stderr)
        self.assertEqual([line for line in log if line.startswith("box:")], [])

        text = run(["pdftotext", "-layout", pdf, "-"]).stdout
        self.assertIn("Part Number:", text)
        self.assertIn("List Price Per Foot:", text)

        data = os.path.join(home, ".local", "share", "Tarvex", "Common Files")
        with open(os.path.join(data, "M_lom.dat"), "rb") as seeded, \
                open(self.path("/usr/share/quillon/M_lom.dat"), "rb") as packaged:
            self.assertEqual(seeded.read(), packaged.read())
        with open(os.path.join(home, ".config", "Tarvex", "registry.json")) as f:
            settings = f.read()
        self.assertIn(data.replace("\\", "\\\\"), settings)
        self.assertIn(os.path.realpath(self.path("/usr/lib/quillon")), settings)

        self.assertEqual(tree_state(self.root), before)
        self.assertEqual(self.outside_writes(since), [])

    def test_a_damaged_settings_file_reaches_the_user_in_the_programs_warning_box(self):
        home = self.make_home("home-damaged")
        settings = os.path.join(home, ".config", "Tarvex", "registry.json")
        os.makedirs(os.path.dirname(settings))
        damaged = '{"Software": {"Tarvex": '
        with open(settings, "w") as f:
            f.write(damaged)
        started, log = self.start_launcher(home, ["close:frmMain"])
        self.assertEqual(log[-1:], ["done"], "\n".join(log) + started.stderr)
        self.assertEqual(started.returncode, 0, started.stderr)
        boxes = [line for line in log if line.startswith("box:")]
        self.assertEqual(len(boxes), 1, "\n".join(log))
        self.assertTrue(boxes[0].startswith(f"box: The settings file {settings} was damaged"), boxes[0])
        kept = [name for name in os.listdir(os.path.dirname(settings)) if name.startswith("registry.json.damaged-")]
        self.assertEqual(len(kept), 1)
        with open(os.path.join(os.path.dirname(settings), kept[0])) as f:
            self.assertEqual(f.read(), damaged)
        # Registered afresh, so the window opened on the seeded data folder.
        with open(settings) as f:
            self.assertIn("Common Files", f.read())


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--plugins", default="")
    ARGS, rest = parser.parse_known_args()
    ARGS.source = os.path.realpath(ARGS.source)
    ARGS.build = os.path.realpath(ARGS.build)
    ARGS.plugins = os.path.realpath(ARGS.plugins) if ARGS.plugins else ""
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
