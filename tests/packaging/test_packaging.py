"""Installed into PREFIX: the README's layout, and the launcher playing for two players, each in their own folder."""
import os
import subprocess
import sys
from pathlib import Path

BUILD, PREFIX, QUITTER, VERA, CMAKE = map(Path, sys.argv[1:6])
DATA, HOMES = PREFIX / "share/zenobar", PREFIX.with_name("homes")

subprocess.run(["rm", "-rf", PREFIX, HOMES], check=True)
subprocess.run([CMAKE, "--install", BUILD, "--prefix", PREFIX], check=True, stdout=subprocess.DEVNULL)
listed = (DATA / "files").read_text().split()
assert {"gfx/logo.png", "gfx/eng/menu.png", "sfx/msx_menu.ogg", "quest/swe/trudne.qst"} <= set(listed), listed
assert [rel for rel in listed if (DATA / rel).read_bytes() != (BUILD / "game" / rel).read_bytes()] == []
for rel in ("bin/zenobar", "bin/zenobar-check-questions", "lib/zenobar/zenobar", "share/zenobar/Vera.ttf",
            "share/applications/org.zenobar.Zenobar.desktop", "share/metainfo/org.zenobar.Zenobar.metainfo.xml",
            "share/icons/hicolor/48x48/apps/org.zenobar.Zenobar.png", "share/man/man6/zenobar.6.gz",
            "share/man/man1/zenobar-check-questions.1.gz"):
    assert (PREFIX / rel).is_file() and os.access(PREFIX / rel, os.X_OK) == rel.startswith(("bin/", "lib/")), rel

# Ala's folder is made by the launcher; Bob's, under his XDG_DATA_HOME, has his settings and a games-layout link.
ala, bob = HOMES / "home of ala", HOMES / "bob"
(bob / "data/zenobar/gfx").mkdir(parents=True)
(bob / "data/zenobar/gfx/logo.png").symlink_to("/usr/share/games/zenobar/gfx/logo.png")
(bob / "data/zenobar/config").write_text("0 -1\n")
for home, own, data_home, config in ((ala, ala / ".local/share/zenobar", "", "0 0\n"),
                                     (bob, bob / "data/zenobar", bob / "data", "0 -1\n")):
    env = dict(os.environ, HOME=str(home), XDG_DATA_HOME=str(data_home), SDL_VIDEODRIVER="dummy",
               SDL_AUDIODRIVER="dummy", LD_PRELOAD=str(QUITTER),
               ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")
    run = subprocess.run([PREFIX / "bin/zenobar"], env=env, cwd="/", timeout=60, capture_output=True)
    assert run.returncode == 0 and b"Zenobar: players NOonE" in run.stdout, run
    assert (own / "config").read_text() + (own / "highscores").read_text() == config + "NOonE\n0\n" * 5, own
    assert [os.readlink(own / f) for f in ("gfx/logo.png", "Vera.ttf")] == [str(DATA / "gfx/logo.png"), str(VERA)]
assert not (bob / ".local").exists()
