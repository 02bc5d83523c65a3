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

CheckoutStaysClean: the program run from the build tree, through its news,
update and print paths, writes nothing into the checkout.

    package_test.py --source DIR --build DIR [--plugins DIR] [TEST...]
"""

import argparse
import functools
import gzip
import hashlib
import http.server
import json
import os
import re
import shlex
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
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



def make_home(home):
    os.makedirs(os.path.join(home, "runtime"))
    os.chmod(os.path.join(home, "runtime"), 0o700)
    return home


def run_with_probe(command, home, steps, boxes="answer", environment=None, plugins=None):
    """Runs the program offscreen with this home and nothing else of the
    caller's environment, the probe (from `plugins`, default the build
    tree's) working its windows (see probe/Probe.cpp); returns the run and
    the probe's log lines."""
    plugins = plugins or ARGS.plugins
    log = os.path.join(home, "probe.log")
    plugin = os.path.join(plugins, "generic", "libquillonprobe.so")
    if not os.path.isfile(plugin):
        raise AssertionError("the probe is not built: " + plugin)
    env = {
        "PATH": "/usr/bin:/bin", "HOME": home, "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
        "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "offscreen", "QT_PLUGIN_PATH": plugins,
        "QT_QPA_GENERIC_PLUGINS": "quillonprobe", "QUILLON_PROBE_LOG": log,
        "QUILLON_PROBE_STEPS": ";".join(steps), "QUILLON_PROBE_BOXES": boxes,
    }
    env.update(environment or {})
    try:
        started = run(command, cwd=home, env=env, timeout=60)
    except subprocess.TimeoutExpired as stuck:
        # A step that never became possible: the log says where it stopped.
        text = stuck.stderr.decode(errors="replace") if isinstance(stuck.stderr, bytes) else stuck.stderr
        started = subprocess.CompletedProcess(stuck.cmd, "timed out", "", text or "")
    lines = []
    if os.path.exists(log):
        with open(log) as f:
            lines = f.read().splitlines()
    return started, lines


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
        # The probe where the unprivileged user can read it, whatever the
        # build tree's folders allow.
        cls.plugins = os.path.join(cls.scratch, "plugins")
        shutil.copytree(ARGS.plugins, cls.plugins)
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
                     "/usr/lib/quillon/quillon-query", "/usr/lib/quillon/quillon-plot.so",
                     "/usr/share/quillon/Freq_TLine_Connectors.dat",
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
                         ["quillon", "quillon-plot.so", "quillon-query", "quillon-register"])
        for binary in binaries:
            sections = run(["readelf", "-S", "-W", binary]).stdout
            self.assertNotRegex(sections, r"\.symtab|\.debug_", binary)
        self.assertEqual(stat.S_IMODE(os.stat(self.path("/usr/lib/quillon/quillon-plot.so")).st_mode), 0o644)

    def test_the_query_tool_needs_qts_core_alone(self):
        # Qt's widgets, fonts and windowing load only with its chart module.
        needed = run(["readelf", "-d", "-W", self.path("/usr/lib/quillon/quillon-query")]).stdout
        qt = sorted(re.findall(r"\[(libQt6\w+)\.so", needed))
        self.assertEqual(qt, ["libQt6Core"], needed)

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
        # A picture, through the link in bin: the chart module is found
        # beside the tool's real file, and draws as the build tree's does.
        for name in ("chart.png", "chart.svg"):
            with self.subTest(picture=name):
                pictures = {}
                for tool, folder in ((unpacked, "packaged"), (built, "built")):
                    path = os.path.join(self.scratch, folder + "-" + name)
                    drawn = run([tool, "--band", "1850", "1990", "--kinds", "foam,ew", "--length", "200",
                                 "--max-loss", "6", "--plot", path],
                                cwd=self.scratch)
                    self.assertEqual((drawn.returncode, drawn.stderr), (0, ""), tool)
                    with open(path, "rb") as f:
                        pictures[folder] = f.read()
                self.assertGreater(len(pictures["packaged"]), 1000)
                self.assertEqual(pictures["packaged"], pictures["built"])

    # --- the launcher, as an ordinary user -------------------------------

    def make_home(self, name):
        return make_home(os.path.join(self.scratch, name))

    def start_launcher(self, home, steps, boxes="answer"):
        """Starts the unpacked launcher as an unprivileged user with this
        home, the probe working its windows; returns the run and the probe's
        log lines."""
        if self.as_root:
            run(["chown", "-R", f"{UNPRIVILEGED}:{UNPRIVILEGED}", home])
            become = ["setpriv", f"--reuid={UNPRIVILEGED}", f"--regid={UNPRIVILEGED}", "--clear-groups", "--"]
        else:
            become = []
        return run_with_probe(become + [self.path("/usr/bin/quillon")], home, steps, boxes, plugins=self.plugins)

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


# --- the build tree -----------------------------------------------------

NEWS_LISTING = """<html><body>
<A HREF=viewpressrelease.asp?id=41&langid=1>Foam coax line grows to 2-1/4 in</A><br>
<A HREF=viewpressrelease.asp?id=40&langid=1>New 7-16 connectors for air lines</A><br>
</body></html>
"""
NEWS_HOME = """<html><body>
<!-- SpotLight -->
<font color="red">Spotlight: the QX range at the winter show</font>
<A HREF=/spotlight/show.asp>more</A>
<!-- End SpotLight -->
</body></html>
"""


def settings_with_web_server(path, server):
    """A settings store that names the maker's web server, as a site with
    its own server would have it."""
    def key(name, keys=(), values=()):
        return {"name": name, "keys": list(keys), "values": list(values)}
    common = key("Common Files", values=[{"name": "WebServer", "text": server}])
    tree = {"format": "Quillon settings store", "version": 1,
            "root": key("", [key("Software", [key("Tarvex", [common])])])}
    with open(path, "w") as f:
        json.dump(tree, f)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def checkout_state():
    """The checkout's files outside the build trees and .git."""
    state = tree_state(ARGS.source)
    return {path: entry for path, entry in state.items()
            if not re.match(r"^(build[^/]*|\.git)(/|$)", path)}


class CheckoutStaysClean(unittest.TestCase):
    """The program started from the build tree as scripts/run.sh starts it
    (settings and data folder of its own, seeded from the demo data),
    used through its news, update and print paths with a web server of its
    own on the loopback, writes nothing into the checkout: not beside its
    executable, not into the demo data."""

    def test_news_update_and_print_write_nothing_into_the_checkout(self):
        scratch = tempfile.mkdtemp(prefix="quillon-checkout-")
        self.addCleanup(shutil.rmtree, scratch, True)
        site = os.path.join(scratch, "site")
        installer = "pricing installer\n"
        # The server lists the installer's sum, as the program checks it before starting it.
        sums = hashlib.sha256(installer.encode()).hexdigest() + "  pricing.exe\n"
        for path, text in (("whatsnew/pressreleases/default.asp", NEWS_LISTING),
                           ("home/default.asp", NEWS_HOME), ("toolbench/pricing.exe", installer),
                           ("toolbench/SHA256SUMS", sums)):
            os.makedirs(os.path.dirname(os.path.join(site, path)), exist_ok=True)
            with open(os.path.join(site, path), "w") as f:
                f.write(text)
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)

        home = make_home(os.path.join(scratch, "home"))
        run_folder = os.path.join(scratch, "run")
        os.makedirs(run_folder)
        settings = os.path.join(run_folder, "registry.json")
        settings_with_web_server(settings, f"http://127.0.0.1:{server.server_address[1]}")
        data = os.path.join(run_folder, "Common Files")
        program = os.path.join(ARGS.build, "ui", "quillon")

        checkout_before = checkout_state()
        # A file made and removed again still leaves its mark on the folder.
        beside_before = tree_state(os.path.dirname(program)), os.stat(os.path.dirname(program)).st_mtime_ns
        started, log = run_with_probe([program], home, [
            "key:frmMain:Ctrl+A", "click:frmNews/btnClose",
            "key:frmMain:Ctrl+U", "click:frmUpdate/btnUpdate",
            "click:frmMain/btnSearch", "click:frmMain/btnPrint", "click:frmPrintOptions/btnPrint",
            "print-pdf:" + os.path.join(home, "report.pdf"), "click:frmPrintOptions/btnClose",
            "close:frmMain"], environment={
                "QUILLON_SETTINGS_FILE": settings,
                "QUILLON_PACKAGED_DATA": os.path.join(ARGS.source, "data", "demo"),
                "QUILLON_DATA_FOLDER": data})
        self.assertEqual(log[-1:], ["done"], "\n".join(log) + started.stderr)
        self.assertEqual(started.returncode, 0, started.stderr)
        # Each path really ran: the pages and the installer were fetched (the
        # offscreen platform has no shell to start it), the report printed.
        self.assertIn("box: Download Complete.\\nClick OK to continue with installation", log)
        for fetched in ("news/rawnews.dat", "news/rawsl.dat", "updates/pricing.exe"):
            self.assertTrue(os.path.isfile(os.path.join(data, fetched)), fetched)
        self.assertTrue(os.path.isfile(os.path.join(home, "report.pdf")))

        beside_after = tree_state(os.path.dirname(program)), os.stat(os.path.dirname(program)).st_mtime_ns
        self.assertEqual(sorted(set(beside_after[0].items()) ^ set(beside_before[0].items())), [])
        self.assertEqual(beside_after[1], beside_before[1], "the program made and removed files beside its executable")
        after = checkout_state()
        changed = sorted(path for path in set(checkout_before) | set(after)
                         if checkout_before.get(path) != after.get(path))
        self.assertEqual(changed, [])


class KeyboardAfterBoxes(unittest.TestCase):
    """The program from the build tree, worked by keyboard as a person would:
    after an update fails with an error box and the update window is
    cancelled, the main window takes its shortcut again without a click."""

    def test_a_failed_update_gives_the_keyboard_back_to_the_main_window(self):
        scratch = tempfile.mkdtemp(prefix="quillon-keyboard-")
        self.addCleanup(shutil.rmtree, scratch, True)
        home = make_home(os.path.join(scratch, "home"))
        settings = os.path.join(scratch, "registry.json")
        # Nothing listens on port 9 of the loopback: the download fails.
        settings_with_web_server(settings, "http://127.0.0.1:9")
        started, log = run_with_probe([os.path.join(ARGS.build, "ui", "quillon")], home, [
            "wait:frmMain", "type:Ctrl+U", "click:frmUpdate/btnUpdate", "boxes:1", "click:frmUpdate/btnCancel",
            "type:Ctrl+U", "wait:frmUpdate", "close:frmUpdate", "close:frmMain"], environment={
                "QUILLON_SETTINGS_FILE": settings,
                "QUILLON_PACKAGED_DATA": os.path.join(ARGS.source, "data", "demo"),
                "QUILLON_DATA_FOLDER": os.path.join(scratch, "Common Files")})
        self.assertEqual(log[-1:], ["done"], "\n".join(log) + started.stderr)
        self.assertTrue(any(line.startswith("box: Unable to dowload Pricing Database.") for line in log), log)
        # The second Ctrl+U went to the main window, and opened the update window again.
        self.assertEqual([line for line in log if line.startswith("typed into:")], ["typed into: frmMain"] * 2,
                         "\n".join(log))


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
