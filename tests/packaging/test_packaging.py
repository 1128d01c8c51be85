"""`cmake --install` into a scratch prefix: the layout the README gives, and the installed
launcher playing the real game for two players, each in a game folder of their own, ended by
the window's close request (quitter.c). Usage: test_packaging.py BUILD PREFIX QUITTER VERA CMAKE"""
import os
import subprocess
import sys
import tempfile
import unittest

BUILD, PREFIX, QUITTER, VERA, CMAKE = sys.argv[1:6]
DATA = os.path.join(PREFIX, "share/zenobar")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        subprocess.run(["rm", "-rf", PREFIX], check=True)
        subprocess.run([CMAKE, "--install", BUILD, "--prefix", PREFIX], check=True, stdout=subprocess.DEVNULL)

    def test_layout(self):
        for rel in ("bin/zenobar", "bin/zenobar-check-questions", "lib/zenobar/zenobar"):
            self.assertTrue(os.access(os.path.join(PREFIX, rel), os.X_OK), rel)
        listed = read(os.path.join(DATA, "files")).decode().split()
        for rel in ("gfx/logo.png", "gfx/eng/menu.png", "sfx/msx_menu.ogg", "quest/swe/trudne.qst"):
            self.assertIn(rel, listed)
        for rel in listed:
            self.assertEqual(read(os.path.join(DATA, rel)), read(os.path.join(BUILD, "game", rel)), rel)
        for rel in ("share/zenobar/Vera.ttf", "share/applications/org.zenobar.Zenobar.desktop",
                    "share/metainfo/org.zenobar.Zenobar.metainfo.xml", "share/man/man6/zenobar.6.gz",
                    "share/icons/hicolor/48x48/apps/org.zenobar.Zenobar.png",
                    "share/man/man1/zenobar-check-questions.1.gz"):
            self.assertTrue(os.path.isfile(os.path.join(PREFIX, rel)), rel)

    def test_two_players_keep_their_own_files(self):
        tmp = tempfile.TemporaryDirectory()
        ala, bob = os.path.join(tmp.name, "home of ala"), os.path.join(tmp.name, "bob")
        folders = {ala: os.path.join(ala, ".local/share/zenobar"), bob: os.path.join(bob, "data/zenobar")}
        os.makedirs(ala)
        os.makedirs(folders[bob])
        with open(os.path.join(folders[bob], "config"), "w") as f:
            f.write("0 -1\n")
        for home, config in ((ala, b"0 0\n"), (bob, b"0 -1\n")):
            env = dict(os.environ, HOME=home, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
                       LD_PRELOAD=QUITTER, ZENOBAR_QUIT_AFTER="3",
                       ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0",
                       XDG_DATA_HOME=os.path.join(bob, "data") if home == bob else "")
            run = subprocess.run([os.path.join(PREFIX, "bin/zenobar")], env=env, cwd="/", timeout=60,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            self.assertEqual(run.returncode, 0, run.stdout)
            self.assertIn(b"Zenobar: players NOonE", run.stdout)
            self.assertEqual(read(os.path.join(folders[home], "config")), config)
            self.assertEqual(read(os.path.join(folders[home], "highscores")), b"NOonE\n0\n" * 5)
            self.assertEqual(os.readlink(os.path.join(folders[home], "gfx/eng/menu.png")),
                             os.path.join(DATA, "gfx/eng/menu.png"))
            self.assertEqual(os.readlink(os.path.join(folders[home], "Vera.ttf")), VERA)
        self.assertFalse(os.path.exists(os.path.join(bob, ".local")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
