"""`cmake --install` into a scratch prefix: the layout the README gives, and
the installed launcher playing the real game for two players, each in a
game folder of their own, ended by the window's close request.
Usage: test_packaging.py BUILD_DIR PREFIX QUITTER VERA_TTF CMAKE"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD, PREFIX, QUITTER, VERA, CMAKE = sys.argv[1:6]
DEFAULT_SCORES = "NOonE\n0\n" * 5


def read(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(PREFIX, ignore_errors=True)
        subprocess.run([CMAKE, "--install", BUILD, "--prefix", PREFIX], check=True,
                       stdout=subprocess.DEVNULL, timeout=120)

    def test_layout(self):
        for rel in ("bin/zenobar", "bin/zenobar-check-questions", "lib/zenobar/zenobar"):
            self.assertTrue(os.access(os.path.join(PREFIX, rel), os.X_OK), rel)
        data = os.path.join(PREFIX, "share/zenobar")
        listed = read(os.path.join(data, "files")).split()
        for rel in ("gfx/logo.png", "gfx/eng/menu.png", "sfx/msx_menu.ogg", "quest/swe/trudne.qst"):
            self.assertIn(rel, listed)
        for rel in listed:
            with open(os.path.join(data, rel), "rb") as a, open(os.path.join(BUILD, "game", rel), "rb") as b:
                self.assertEqual(a.read(), b.read(), rel)
        for rel in ("share/zenobar/Vera.ttf", "share/applications/org.zenobar.Zenobar.desktop",
                    "share/metainfo/org.zenobar.Zenobar.metainfo.xml",
                    "share/icons/hicolor/48x48/apps/org.zenobar.Zenobar.png",
                    "share/man/man6/zenobar.6.gz", "share/man/man1/zenobar-check-questions.1.gz"):
            self.assertTrue(os.path.isfile(os.path.join(PREFIX, rel)), rel)

    def play(self, home, xdg=None):
        env = {"PATH": os.environ["PATH"], "HOME": home, "SDL_VIDEODRIVER": "dummy",
               "SDL_AUDIODRIVER": "dummy", "LD_PRELOAD": QUITTER, "ZENOBAR_QUIT_AFTER": "3",
               "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"}
        if "LD_LIBRARY_PATH" in os.environ:
            env["LD_LIBRARY_PATH"] = os.environ["LD_LIBRARY_PATH"]
        if xdg:
            env["XDG_DATA_HOME"] = xdg
        run = subprocess.run([os.path.join(PREFIX, "bin/zenobar")], env=env, cwd="/", timeout=60,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, universal_newlines=True)
        self.assertEqual(run.returncode, 0, run.stdout)
        self.assertIn("Zenobar: players NOonE", run.stdout)

    def test_two_players_keep_their_own_files(self):
        with tempfile.TemporaryDirectory() as tmp:
            ala, bob = os.path.join(tmp, "home of ala"), os.path.join(tmp, "bob")
            ala_folder = os.path.join(ala, ".local/share/zenobar")
            bob_folder = os.path.join(bob, "data/zenobar")
            os.makedirs(bob_folder)
            with open(os.path.join(bob_folder, "config"), "w") as f:
                f.write("0 -1\n")
            os.makedirs(ala)
            self.play(ala)
            self.play(bob, xdg=os.path.join(bob, "data"))
            for folder, config in ((ala_folder, "0 0\n"), (bob_folder, "0 -1\n")):
                self.assertEqual(read(os.path.join(folder, "config")), config)
                self.assertEqual(read(os.path.join(folder, "highscores")), DEFAULT_SCORES)
                self.assertEqual(os.readlink(os.path.join(folder, "gfx/eng/menu.png")),
                                 os.path.join(PREFIX, "share/zenobar/gfx/eng/menu.png"))
                self.assertEqual(os.readlink(os.path.join(folder, "Vera.ttf")), VERA)
            self.assertFalse(os.path.exists(os.path.join(bob, ".local")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
