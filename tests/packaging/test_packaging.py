#!/usr/bin/env python3
"""The installed game as a player meets it.

usage: test_packaging.py CONFIG.json install|package|Class.test_name

"install" and "package" make the fixtures that the tests share: an
installation into the build's tests/packaging/prefix and the Debian
package in tests/packaging/deb. A test that changes anything works on a
copy of its own, so the tests run side by side.
"""
import ctypes
import glob
import json
import os
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

CONFIG = {}
ID = "org.zenobar.Zenobar"
# Everything the launcher runs is bounded; the game itself only ends when
# told to, about 16 s in, once the intro's language choice reads events.
LAUNCH_TIMEOUT = 30
GAME_TIMEOUT = 90
DEFAULT_CONFIG = "0 0\n"
DEFAULT_SCORES = "NOonE\n0\n" * 5


def run(args, **kw):
    kw.setdefault("timeout", 120)
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          universal_newlines=True, **kw)


def need(tool, package):
    path = shutil.which(tool)
    if path is None:
        raise AssertionError("%s is missing: install the Debian package %s" % (tool, package))
    return path


def player_env(home, xdg=None):
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
           "SDL_VIDEODRIVER": "dummy", "SDL_AUDIODRIVER": "dummy", "LC_ALL": "C.UTF-8"}
    for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        if name in os.environ:
            env[name] = os.environ[name]
    if xdg is not None:
        env["XDG_DATA_HOME"] = xdg
    return env


def read(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1") as f:
        f.write(text)


def manifest(prefix):
    with open(os.path.join(prefix, "share/zenobar/files")) as f:
        return [line for line in f.read().split("\n") if line]


def tree(root):
    """Every entry under root: its kind, mode, size, time and link target."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            target = os.readlink(path) if stat.S_ISLNK(st.st_mode) else None
            size = st.st_size if stat.S_ISREG(st.st_mode) else 0
            found[os.path.relpath(path, root)] = (st.st_mode, size, st.st_mtime_ns, target)
    return found


def links(folder):
    """Name in the game folder -> link target, for every link in it."""
    return {rel: entry[3] for rel, entry in tree(folder).items() if entry[3] is not None}


def is_elf(path):
    with open(path, "rb") as f:
        return f.read(4) == b"\x7fELF"


def png_header(path):
    """Width, height, colour type and the first pixel of an 8-bit PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    width, height = int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")
    depth, colour = data[24], data[25]
    pos, idat = 8, b""
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], "big")
        if data[pos + 4:pos + 8] == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    # Every PNG filter predicts zero for the first pixel of the first row.
    raw = zlib.decompressobj().decompress(idat, 16)
    return width, height, depth, colour, raw[1:5]


def die_with_parent():
    # The game never ends by itself: it must not outlive a test that was
    # stopped from outside.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Game:
    """One run of the launcher and the game it starts, ended as a desktop
    would end it."""

    def __init__(self, test, launcher, program, env, user=None):
        self.program = os.path.realpath(program)
        self.out = tempfile.TemporaryFile()
        extra = {}
        if user is not None:
            extra = {"user": user, "group": user, "extra_groups": []}
        self.proc = subprocess.Popen([launcher], env=env, cwd="/", stdin=subprocess.DEVNULL,
                                     stdout=self.out, stderr=subprocess.STDOUT,
                                     preexec_fn=die_with_parent, **extra)
        test.addCleanup(self.stop)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.out.close()

    def output(self):
        self.out.seek(0)
        return self.out.read().decode("latin-1")

    def _game_listens(self):
        """The launcher has handed over to the game, and SDL has taken
        SIGTERM over, so the signal becomes a close request."""
        pid = self.proc.pid
        try:
            if os.readlink("/proc/%d/exe" % pid) != self.program:
                return False
            with open("/proc/%d/status" % pid) as f:
                caught = [l for l in f if l.startswith("SigCgt:")][0].split()[1]
        except (OSError, IndexError):
            return False
        return int(caught, 16) & (1 << (signal.SIGTERM - 1)) != 0

    def end(self):
        """Waits for the game, closes it, and returns its exit status."""
        deadline = time.monotonic() + LAUNCH_TIMEOUT
        while not self._game_listens():
            if self.proc.poll() is not None:
                raise AssertionError("ended before the game started (status %d):\n%s"
                                     % (self.proc.returncode, self.output()))
            if time.monotonic() > deadline:
                raise AssertionError("the game did not start within %d s:\n%s"
                                     % (LAUNCH_TIMEOUT, self.output()))
            time.sleep(0.05)
        # The close request is read once the intro's language choice polls;
        # a signal that lands while SDL is busy with its own queue may be
        # lost, so it is sent again, well after a first one would have ended it.
        deadline = time.monotonic() + GAME_TIMEOUT
        while True:
            self.proc.send_signal(signal.SIGTERM)
            try:
                return self.proc.wait(30)
            except subprocess.TimeoutExpired:
                if time.monotonic() > deadline:
                    raise AssertionError("the game did not end within %d s of SIGTERM:\n%s"
                                         % (GAME_TIMEOUT, self.output()))


class Scratch(unittest.TestCase):
    """A test with a temporary folder of its own and a copy of the
    installation in it."""

    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="zenobar-pkg-")
        os.chmod(self.tmp, 0o755)  # another user may have to reach in

    def tearDown(self):
        for folder, dirs, _ in os.walk(self.tmp):
            for name in dirs:
                path = os.path.join(folder, name)
                if not os.path.islink(path):
                    os.chmod(path, 0o755)
        shutil.rmtree(self.tmp)

    def install_copy(self, name="prefix"):
        prefix = os.path.join(self.tmp, name)
        shutil.copytree(CONFIG["prefix"], prefix, symlinks=True)
        return prefix

    def stub_game(self, prefix):
        """Puts a program in the game's place that notes where it was
        started and ends."""
        program = os.path.join(prefix, "lib/zenobar/zenobar")
        os.remove(program)
        write(program, '#!/bin/sh\npwd -P > "$HOME/started"\n')
        os.chmod(program, 0o755)

    def launch(self, prefix, env):
        return run([os.path.join(prefix, "bin/zenobar")], env=env, cwd="/", timeout=LAUNCH_TIMEOUT)

    def assertPlayed(self, folder, prefix, config=DEFAULT_CONFIG, scores=DEFAULT_SCORES):
        self.assertEqual(read(os.path.join(folder, "config")), config)
        self.assertEqual(read(os.path.join(folder, "highscores")), scores)
        self.assertLinked(folder, prefix)

    def assertLinked(self, folder, prefix, font=None):
        data = os.path.join(prefix, "share/zenobar")
        for rel in manifest(prefix):
            self.assertEqual(os.readlink(os.path.join(folder, rel)), os.path.join(data, rel), rel)
        self.assertEqual(os.readlink(os.path.join(folder, "Vera.ttf")), font or CONFIG["vera_ttf"])


class Metadata(Scratch):
    """What the desktop, the software centre and man read."""

    def test_desktop_entry_validates(self):
        tool = need("desktop-file-validate", "desktop-file-utils")
        entry = os.path.join(CONFIG["prefix"], "share/applications", ID + ".desktop")
        result = run([tool, entry])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout + result.stderr, "")

    def test_metainfo_validates_and_matches(self):
        tool = need("appstreamcli", "appstream")
        info = os.path.join(CONFIG["prefix"], "share/metainfo", ID + ".metainfo.xml")
        result = run([tool, "validate", "--no-net", info])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        text = read(info)
        self.assertIn("<id>%s</id>" % ID, text)
        self.assertIn('<launchable type="desktop-id">%s.desktop</launchable>' % ID, text)
        self.assertIn('<release version="%s"' % CONFIG["version"], text)
        self.assertIn("<content_rating", text)

    def test_icons_are_square_and_transparent(self):
        for size in (48, 128, 256):
            icon = os.path.join(CONFIG["prefix"], "share/icons/hicolor/%dx%d/apps" % (size, size),
                                ID + ".png")
            with self.subTest(size=size):
                width, height, depth, colour, corner = png_header(icon)
                self.assertEqual((width, height, depth, colour), (size, size, 8, 6))
                self.assertEqual(corner[3], 0, "the corner should show the desktop behind")

    def test_man_pages_format_cleanly(self):
        need("groff", "groff-base")
        pages = {"man6/zenobar.6.gz": "zenobar", "man1/zenobar-check-questions.1.gz": "zenobar-check-questions"}
        for page, name in pages.items():
            with self.subTest(page=page):
                path = os.path.join(CONFIG["prefix"], "share/man", page)
                source = subprocess.run(["gzip", "-dc", path], stdout=subprocess.PIPE, check=True).stdout
                result = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-b"], input=source,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
                self.assertEqual(result.stderr.decode(), "")
                shown = result.stdout.decode()
                self.assertIn(name, shown)
                self.assertNotIn("@", shown, "a placeholder was left unconfigured")


class Install(Scratch):
    """`cmake --install` into a prefix of its own, and the launcher there."""

    def test_layout(self):
        prefix = CONFIG["prefix"]
        for rel in ("bin/zenobar", "bin/zenobar-check-questions", "lib/zenobar/zenobar"):
            self.assertTrue(os.access(os.path.join(prefix, rel), os.X_OK), rel)
        self.assertTrue(is_elf(os.path.join(prefix, "lib/zenobar/zenobar")))
        # Compiled programs have no place under share/.
        for folder, _, files in os.walk(os.path.join(prefix, "share")):
            for name in files:
                self.assertFalse(is_elf(os.path.join(folder, name)), os.path.join(folder, name))
        # Every data file of the build's game folder, and nothing else.
        data = os.path.join(prefix, "share/zenobar")
        listed = manifest(prefix)
        self.assertGreater(len(listed), 30)
        for rel in listed:
            with open(os.path.join(data, rel), "rb") as a, open(os.path.join(CONFIG["game_dir"], rel), "rb") as b:
                self.assertEqual(a.read(), b.read(), rel)
        for part in ("gfx/logo.png", "gfx/eng/menu.png", "sfx/msx_menu.ogg", "quest/swe/trudne.qst"):
            self.assertIn(part, listed)
        # An installation from source carries the font for machines without
        # the package; beside it only the list itself.
        installed = {os.path.relpath(os.path.join(folder, name), data)
                     for folder, _, files in os.walk(data) for name in files}
        self.assertEqual(installed, set(listed) | {"files", "Vera.ttf"})
        result = run([os.path.join(prefix, "bin/zenobar"), "--version"])
        self.assertEqual(result.stdout, "zenobar %s\n" % CONFIG["version"])

    def test_guide_example_passes_the_checker(self):
        """The example of the authors' guide, converted as the guide says,
        is a clean file for the installed checker."""
        with open(os.path.join(CONFIG["source_dir"], "docs/authors-guide.md"), encoding="utf-8") as f:
            guide = f.read()
        example = re.search(r"```text\n(.*?)```", guide, re.S).group(1)
        self.assertEqual(example.count("\n") % 7, 0)
        source = os.path.join(self.tmp, "mine.txt")
        with open(source, "w", encoding="utf-8") as f:
            f.write(example)
        converted = os.path.join(self.tmp, "latwe.qst")
        subprocess.run(["iconv", "-f", "UTF-8", "-t", "ISO-8859-1", source, "-o", converted], check=True)
        result = run([os.path.join(CONFIG["prefix"], "bin/zenobar-check-questions"), converted], cwd=self.tmp)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("4 questions, 0 problems", result.stdout)

    def test_two_players_keep_their_own_files(self):
        prefix = self.install_copy()
        ala = os.path.join(self.tmp, "home of ala")  # a blank in the path, as homes may have
        bob = os.path.join(self.tmp, "bob")
        os.makedirs(ala)
        os.makedirs(bob)
        ala_folder = os.path.join(ala, ".local/share/zenobar")
        bob_folder = os.path.join(bob, "data", "zenobar")
        launcher = os.path.join(prefix, "bin/zenobar")
        program = os.path.join(prefix, "lib/zenobar/zenobar")

        # Both first runs at once, as two people on one machine may.
        ala_run = Game(self, launcher, program, player_env(ala, xdg=""))
        bob_run = Game(self, launcher, program, player_env(bob, xdg=os.path.join(bob, "data")))
        self.assertEqual(ala_run.end(), 0, ala_run.output())
        self.assertEqual(bob_run.end(), 0, bob_run.output())
        self.assertPlayed(ala_folder, prefix)
        self.assertPlayed(bob_folder, prefix)
        self.assertFalse(os.path.exists(os.path.join(bob, ".local")))

        # The next day: Ala's settings and scores are read, not replaced.
        ala_scores = "NOonE\n0\n" * 4 + "Ala\n7\n"
        write(os.path.join(ala_folder, "config"), "0 -1\n")
        write(os.path.join(ala_folder, "highscores"), ala_scores)
        bob_before = tree(bob_folder)
        ala_run = Game(self, launcher, program, player_env(ala))
        self.assertEqual(ala_run.end(), 0, ala_run.output())
        self.assertPlayed(ala_folder, prefix, config="0 -1\n", scores=ala_scores)
        self.assertEqual(tree(bob_folder), bob_before)

    def test_read_only_prefix(self):
        prefix = self.install_copy()
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        user = None
        if os.geteuid() == 0:
            # Root writes through any mode bits; a player would not.
            user = 65534
            os.chown(home, user, user)
        for folder, dirs, files in os.walk(prefix):
            for name in dirs + files:
                path = os.path.join(folder, name)
                if not os.path.islink(path):
                    os.chmod(path, os.lstat(path).st_mode & ~0o222)
        os.chmod(prefix, 0o555)
        before = tree(prefix)
        game = Game(self, os.path.join(prefix, "bin/zenobar"), os.path.join(prefix, "lib/zenobar/zenobar"),
                    player_env(home), user=user)
        self.assertEqual(game.end(), 0, game.output())
        self.assertPlayed(os.path.join(home, ".local/share/zenobar"), prefix)
        self.assertEqual(tree(prefix), before)

    def test_missing_files_stop_the_start(self):
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        env = player_env(home)
        started = os.path.join(home, "started")

        prefix = self.install_copy("lost-data")
        self.stub_game(prefix)
        lost = [os.path.join(prefix, "share/zenobar", rel) for rel in ("sfx/winner.wav", "quest/swe/trudne.qst")]
        for path in lost:
            os.remove(path)
        result = self.launch(prefix, env)
        self.assertEqual(result.returncode, 1)
        for path in lost:
            self.assertIn("missing data file: %s\n" % path, result.stderr)
        self.assertFalse(os.path.exists(started))

        prefix = self.install_copy("lost-program")
        program = os.path.join(prefix, "lib/zenobar/zenobar")
        os.remove(program)
        result = self.launch(prefix, env)
        self.assertEqual(result.returncode, 1)
        self.assertIn(program, result.stderr)

        prefix = self.install_copy("lost-list")
        self.stub_game(prefix)
        os.remove(os.path.join(prefix, "share/zenobar/files"))
        result = self.launch(prefix, env)
        self.assertEqual(result.returncode, 1)
        self.assertIn(os.path.join(prefix, "share/zenobar/files"), result.stderr)
        self.assertFalse(os.path.exists(started))

    def test_font_without_the_font_package(self):
        """Where the system font is missing the build's copy serves; with
        neither, the launcher names the font it wants. The link follows
        the font back once the package is there."""
        prefix = self.install_copy()
        self.stub_game(prefix)
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        folder = os.path.join(home, ".local/share/zenobar")
        launcher = os.path.join(prefix, "bin/zenobar")
        with open(launcher) as f:
            script = f.read()
        real = "system_font='%s'" % CONFIG["vera_ttf"]
        self.assertIn(real, script)
        absent = os.path.join(self.tmp, "no-font-package/Vera.ttf")

        def set_font(line):
            with open(launcher, "w") as f:
                f.write(script.replace(real, line))

        set_font("system_font='%s'" % absent)
        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertLinked(folder, prefix, font=os.path.join(prefix, "share/zenobar/Vera.ttf"))

        set_font(real)
        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertLinked(folder, prefix)

        set_font("system_font='%s'" % absent)
        os.remove(os.path.join(prefix, "share/zenobar/Vera.ttf"))
        os.remove(os.path.join(home, "started"))
        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 1)
        self.assertIn(absent, result.stderr)
        self.assertFalse(os.path.exists(os.path.join(home, "started")))

    def test_installed_under_the_players_own_share(self):
        """With the prefix ~/.local the data folder is the game folder: the
        game runs in it, and nothing links to itself."""
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        prefix = self.install_copy("home/.local")
        self.stub_game(prefix)
        before = tree(prefix)
        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(home, "started")) as f:
            self.assertEqual(f.read().strip(), os.path.realpath(os.path.join(prefix, "share/zenobar")))
        self.assertEqual(tree(prefix), before)

    def test_game_folder_of_an_older_version(self):
        """Links into an old installation are renewed, links to data this
        version no longer has go, a folder linked whole becomes a folder of
        links, and whatever the player put there stays."""
        prefix = self.install_copy()
        self.stub_game(prefix)
        home = os.path.join(self.tmp, "home")
        folder = os.path.join(home, ".local/share/zenobar")
        old = "/opt/zenobar-0.9/share/zenobar/"
        write(os.path.join(folder, "config"), "1 1\n")
        write(os.path.join(folder, "highscores"), "NOonE\n0\n" * 4 + "Ewa\n12\n")
        write(os.path.join(folder, "quest/eng/latwe.qst"), "my own questions\n")
        write(os.path.join(folder, "notes.txt"), "mine\n")
        write(os.path.join(home, "polish.qst"), "moje pytania\n")
        os.makedirs(os.path.join(folder, "gfx"))
        os.makedirs(os.path.join(folder, "quest/pol"))
        os.symlink(os.path.join(home, "polish.qst"), os.path.join(folder, "quest/pol/latwe.qst"))
        os.symlink("/nowhere/of/mine", os.path.join(folder, "mine-link"))
        os.symlink(old + "gfx/logo.png", os.path.join(folder, "gfx/logo.png"))
        os.symlink(old + "gfx/splash.png", os.path.join(folder, "gfx/splash.png"))
        os.symlink(old + "sfx", os.path.join(folder, "sfx"))
        os.symlink(old + "Vera.ttf", os.path.join(folder, "Vera.ttf"))

        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        with open(os.path.join(home, "started")) as f:
            self.assertEqual(f.read().strip(), os.path.realpath(folder))

        data = os.path.join(prefix, "share/zenobar")
        own = {"quest/eng/latwe.qst", "quest/pol/latwe.qst"}
        expected = {rel: os.path.join(data, rel) for rel in manifest(prefix) if rel not in own}
        expected["Vera.ttf"] = CONFIG["vera_ttf"]
        expected["quest/pol/latwe.qst"] = os.path.join(home, "polish.qst")
        expected["mine-link"] = "/nowhere/of/mine"
        self.assertEqual(links(folder), expected)
        self.assertTrue(os.path.isdir(os.path.join(folder, "sfx")))
        self.assertEqual(read(os.path.join(folder, "quest/eng/latwe.qst")), "my own questions\n")
        self.assertEqual(read(os.path.join(folder, "notes.txt")), "mine\n")
        self.assertEqual(read(os.path.join(folder, "config")), "1 1\n")
        self.assertEqual(read(os.path.join(folder, "highscores")), "NOonE\n0\n" * 4 + "Ewa\n12\n")

        # A folder already in order is left exactly as it is.
        before = tree(folder)
        result = self.launch(prefix, player_env(home))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(tree(folder), before)


class Package(Scratch):
    """The Debian package: its name, its control data, its contents, and
    the launcher started from an unpacked copy."""

    def deb(self):
        found = glob.glob(os.path.join(CONFIG["deb_dir"], "*.deb"))
        self.assertEqual(len(found), 1, found)
        return found[0]

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb(), name]).stdout.strip()

    def test_name_and_dependencies(self):
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertEqual(os.path.basename(self.deb()), "zenobar_%s_%s.deb" % (CONFIG["version"], arch))
        self.assertEqual(self.field("Package"), "zenobar")
        self.assertEqual(self.field("Version"), CONFIG["version"])
        self.assertEqual(self.field("Section"), "games")
        depends = {d.split()[0] for alt in self.field("Depends").split(",") for d in alt.split("|")}
        for package in ("libsdl1.2debian", "libsdl-image1.2", "libsdl-mixer1.2", "libsdl-ttf2.0-0",
                        "ttf-bitstream-vera"):
            self.assertIn(package, depends)
        # Every library the programs link comes from a package it names.
        root = os.path.join(self.tmp, "root")
        subprocess.run(["dpkg-deb", "-x", self.deb(), root], check=True, timeout=60)
        for program in ("usr/lib/zenobar/zenobar", "usr/bin/zenobar-check-questions"):
            path = os.path.join(root, program)
            where = dict(re.findall(r"(\S+) => (/\S+)", run(["ldd", path]).stdout))
            needed = re.findall(r"\(NEEDED\).*\[(.*)\]", run(["readelf", "-d", path]).stdout)
            self.assertIn("libSDL_ttf-2.0.so.0", needed)
            for lib in needed:
                self.assertIn(lib, where, "%s: %s not found" % (program, lib))
                self.assertIn(self.owner(where[lib]), depends, "%s needs %s" % (program, lib))

    def owner(self, lib):
        """The package of a library, under whichever of its names (merged
        /usr or not, link or file) dpkg knows it."""
        for path in (lib, os.path.realpath(lib)):
            for name in (path, re.sub(r"^/usr/lib/", "/lib/", path), re.sub(r"^/lib/", "/usr/lib/", path)):
                found = run(["dpkg", "-S", name])
                if found.returncode == 0:
                    return found.stdout.split(":")[0]
        self.fail("no package owns %s" % lib)

    def test_contents(self):
        listing = run(["dpkg-deb", "-c", self.deb()]).stdout.splitlines()
        entries = {}
        for line in listing:
            parts = line.split(None, 5)
            mode, owner, name = parts[0], parts[1], parts[5].split(" -> ")[0]
            entries[name.lstrip(".").rstrip("/")] = (mode, owner)
            self.assertEqual(owner, "root/root", line)
        for name in ("/usr/bin/zenobar", "/usr/bin/zenobar-check-questions", "/usr/lib/zenobar/zenobar"):
            self.assertEqual(entries[name][0], "-rwxr-xr-x", name)
        for name in ("/usr/share/zenobar/files", "/usr/share/zenobar/gfx/logo.png",
                     "/usr/share/zenobar/sfx/winner.wav", "/usr/share/zenobar/quest/pol/latwe.qst",
                     "/usr/share/applications/%s.desktop" % ID, "/usr/share/metainfo/%s.metainfo.xml" % ID,
                     "/usr/share/icons/hicolor/48x48/apps/%s.png" % ID,
                     "/usr/share/icons/hicolor/256x256/apps/%s.png" % ID,
                     "/usr/share/man/man6/zenobar.6.gz", "/usr/share/man/man1/zenobar-check-questions.1.gz"):
            self.assertEqual(entries.get(name, ("missing",))[0], "-rw-r--r--", name)
        self.assertEqual(len([n for n in entries if n.startswith("/usr/share/zenobar/quest/")
                              and n.endswith(".qst")]), 9)
        # The font comes from its own package, not as a second copy.
        self.assertEqual([n for n in entries if n.lower().endswith(".ttf")], [])
        self.assertEqual([n for n in entries if n and n != "/usr" and not n.startswith("/usr/")], [])

    def test_unpacked_package_plays_headless(self):
        root = os.path.join(self.tmp, "root")
        subprocess.run(["dpkg-deb", "-x", self.deb(), root], check=True, timeout=60)
        prefix = os.path.join(root, "usr")
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        game = Game(self, os.path.join(prefix, "bin/zenobar"), os.path.join(prefix, "lib/zenobar/zenobar"),
                    player_env(home))
        self.assertEqual(game.end(), 0, game.output())
        self.assertPlayed(os.path.join(home, ".local/share/zenobar"), prefix)


def make_install():
    prefix = CONFIG["prefix"]
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run([CONFIG["cmake"], "--install", CONFIG["build_dir"], "--prefix", prefix],
                   check=True, stdout=subprocess.DEVNULL, timeout=300)


def make_package():
    need("dpkg-shlibdeps", "dpkg-dev")
    out = CONFIG["deb_dir"]
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    subprocess.run([CONFIG["cpack"], "--config", CONFIG["cpack_config"], "-B", out],
                   check=True, cwd=out, timeout=600)


def main():
    global CONFIG
    with open(sys.argv[1]) as f:
        CONFIG = json.load(f)
    what = sys.argv[2]
    if what == "install":
        make_install()
    elif what == "package":
        make_package()
    else:
        unittest.main(argv=[sys.argv[0], "-v", what])


if __name__ == "__main__":
    main()
