#!/usr/bin/python3
"""The release as a user gets it: tools/make-release.sh from the sources, then the x86_64
installer run silently in a Wine prefix of this test's own, the installed program started as
Windows starts it at log-on, a burn converted by it, and a silent uninstallation. The installers'
contents are read by 7-Zip and the modules' headers by pefile, neither of which shares anything
with the build.

Usage: release_test.py SOURCE_FOLDER WORK_FOLDER
"""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

import mutagen
import pefile

ROOT = os.path.abspath(sys.argv[1])
WORK = os.path.abspath(sys.argv[2])
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
BIN = os.path.join(ROOT, "build", "x86_64", "bin")
DIST = os.path.join(ROOT, "dist")
PREFIX = os.path.join(WORK, "prefix")

PROGRAM_KEY = r"HKLM\Software\Quaverlane"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quaverlane"
PROGRAM_FOLDER = r"C:\Program Files\Quaverlane"
# Machine type and optional-header magic of each target's modules.
PE_KIND = {"i686": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}
OUR_MODULES = {"Quaverlane.exe", "qvllog.dll", "LinkCore.dll", "AudioTagCore.dll", "WmaEncodeCore.dll",
               "WmaDecodeCore.dll"}


def wine_env():
    return dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all")


def wine(*args, timeout=120, check=True):
    """Runs a Windows program in the test's prefix and returns its standard output."""
    done = subprocess.run([WINE, *args], env=wine_env(), stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=timeout)
    if check and done.returncode != 0:
        raise AssertionError(f"wine {' '.join(args)} ended with {done.returncode}: "
                             f"{done.stdout.decode(errors='replace')}{done.stderr.decode(errors='replace')}")
    return done.stdout.decode("utf-8", errors="replace").replace("\r", "")


def unix_path(windows_path):
    drive, rest = windows_path[0].lower(), windows_path[2:].replace("\\", "/")
    assert drive == "c", windows_path
    return os.path.join(PREFIX, "drive_c", rest.lstrip("/"))


def reg_value(key, name):
    """The value's data as `reg query` prints it, or None when it is absent."""
    done = subprocess.run([WINE, "reg", "query", key, "/v", name], env=wine_env(), stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=60)
    if done.returncode != 0:
        return None
    for line in done.stdout.decode(errors="replace").replace("\r", "").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0] == name and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def key_exists(key):
    return subprocess.run([WINE, "reg", "query", key], env=wine_env(), stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=60).returncode == 0


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.25)
    raise AssertionError(f"after {seconds} s: {what}")


def version_of(path):
    """FileVersion and ProductVersion of a module's version resource, or None without one."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        return None
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    return strings.get("FileVersion"), strings.get("ProductVersion")


def pe_kind(path):
    pe = pefile.PE(path, fast_load=True)
    return pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic


def tree_digests(folder):
    digests = {}
    for base, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(base, name)
            with open(path, "rb") as f:
                digests[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return digests


class Release(unittest.TestCase):
    version = None

    first_sums = None

    @classmethod
    def setUpClass(cls):
        # Made twice: the second must give the same bytes as the first.
        for run in range(2):
            done = subprocess.run(["bash", os.path.join(ROOT, "tools", "make-release.sh")],
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=3600)
            if done.returncode != 0:
                raise AssertionError("make-release.sh failed:\n" + done.stdout.decode(errors="replace")[-3000:] +
                                     done.stderr.decode(errors="replace")[-3000:])
            if run == 0:
                with open(os.path.join(DIST, "SHA256SUMS")) as f:
                    cls.first_sums = f.read()
        with open(os.path.join(ROOT, "build", "x86_64", "generated", "Version.nsh")) as f:
            cls.version = f.read().split('QVL_VERSION "')[1].split('"')[0]

    def artefact(self, arch, kind):
        name = f"Quaverlane-{self.version}-{arch}" + ("-setup.exe" if kind == "setup" else ".zip")
        return os.path.join(DIST, name)

    def test_the_checksums_name_every_artefact_and_match_it(self):
        # Catches a list written before the last file changed, or one that leaves a file out.
        with open(os.path.join(DIST, "SHA256SUMS")) as f:
            listed = dict(reversed(line.split(None, 1)) for line in f.read().splitlines())
        listed = {name.strip(): digest for name, digest in listed.items()}
        wanted = {os.path.basename(self.artefact(a, k)) for a in PE_KIND for k in ("setup", "zip")}
        self.assertEqual(set(listed), wanted)
        for name, digest in listed.items():
            with open(os.path.join(DIST, name), "rb") as f:
                self.assertEqual(hashlib.sha256(f.read()).hexdigest(), digest, name)

    def test_the_release_made_again_is_the_same_to_the_byte(self):
        # Catches a tool (strip, zip, makensis) that stamps the time of the run into the release.
        with open(os.path.join(DIST, "SHA256SUMS")) as f:
            self.assertEqual(f.read(), self.first_sums)

    def test_each_installer_and_zip_hold_the_same_program_folder_built_for_their_target(self):
        # Catches a 64-bit module in the 32-bit release (there is no 32-bit Wine here to notice),
        # an installer and a zip that disagree, a module left out, and a module without the
        # release's version resource.
        for arch, kind in PE_KIND.items():
            with self.subTest(arch=arch), tempfile.TemporaryDirectory() as scratch:
                setup = self.artefact(arch, "setup")
                self.assertEqual(pe_kind(setup), kind, "the installer itself")
                unpacked = os.path.join(scratch, "setup")
                subprocess.run(["7z", "x", "-y", f"-o{unpacked}", setup], check=True, stdout=subprocess.DEVNULL)
                shutil.rmtree(os.path.join(unpacked, "$PLUGINSDIR"), ignore_errors=True)
                # 7-Zip names the uninstaller, which the installer writes at run time, without data.
                installed = {k: v for k, v in tree_digests(unpacked).items() if k != "Uninstall.exe"}
                with zipfile.ZipFile(self.artefact(arch, "zip")) as archive:
                    archive.extractall(os.path.join(scratch, "zip"))
                zipped = tree_digests(os.path.join(scratch, "zip", "Quaverlane"))
                self.assertEqual(installed, zipped)
                self.assertLessEqual(OUR_MODULES | {"lame_enc.dll", "Lang/lang_eng.ini", "Help/lang_eng.chm",
                                                    "no_album_art.jpg", "trackInfo_background.bmp"}, set(zipped))
                for name in sorted(n for n in zipped if n.endswith((".exe", ".dll"))):
                    path = os.path.join(scratch, "zip", "Quaverlane", name)
                    self.assertEqual(pe_kind(path), kind, name)
                    version = version_of(path)
                    self.assertIsNotNone(version, f"{name} has no version resource")
                    if name in OUR_MODULES:
                        self.assertEqual(version, (self.version, self.version), name)

    def test_silent_install_burn_and_silent_uninstall(self):
        fresh_prefix()
        try:
            self.install_burn_uninstall()
            self.existing_capture_folder_and_no_start_at_log_on()
        finally:
            subprocess.run([WINESERVER, "-k"], env=wine_env(), stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def install_burn_uninstall(self):
        # Catches an installer that leaves out what the program needs to convert a burn, writes
        # the start at log-on otherwise than the program does, names no capture folder, or an
        # uninstaller that leaves the program or its registry entries behind or takes the music.
        self.assertIsNone(reg_value(PROGRAM_KEY, "TempFolder"), "a fresh prefix has no capture folder")
        wine(self.artefact("x86_64", "setup"), "/S")
        # Installed again over itself, as an update is: the capture folder stays the installer's.
        wine(self.artefact("x86_64", "setup"), "/S")
        folder = unix_path(PROGRAM_FOLDER)
        with zipfile.ZipFile(self.artefact("x86_64", "zip")) as archive:
            shipped = {n.split("/", 1)[1] for n in archive.namelist() if not n.endswith("/")}
        self.assertEqual(set(tree_digests(folder)), shipped | {"Uninstall.exe"})
        run_entry = reg_value(RUN_KEY, "Quaverlane")
        self.assertEqual(run_entry, PROGRAM_FOLDER + r"\Quaverlane.exe /silence")
        capture = reg_value(PROGRAM_KEY, "TempFolder")
        self.assertEqual(capture, r"C:\ProgramData\Quaverlane\Capture")
        self.assertEqual(reg_value(UNINSTALL_KEY, "DisplayVersion"), self.version)
        self.assertEqual(reg_value(UNINSTALL_KEY, "UninstallString"), f'"{PROGRAM_FOLDER}\\Uninstall.exe"')
        menu = unix_path(r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quaverlane")
        self.assertIn("Quaverlane.lnk", os.listdir(menu))

        # Started as Windows starts it at log-on: the Run entry's command line.
        program, argument = run_entry.rsplit(" ", 1)
        app = subprocess.Popen([WINE, program, argument], env=wine_env(), stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wine(os.path.join(BIN, "qvlctl.exe"), "wait", "30000", timeout=60)
            burn = wine(os.path.join(BIN, "recsim.exe"), "--speed", "52", "--sample-seconds", "4",
                        timeout=300).strip().splitlines()[-1]
            self.assertTrue(burn.lower().startswith(capture.lower()), burn)
            # A silent installation cannot ask the user to end the running copy: it must give up
            # (code 2) instead of waiting for an answer or replacing the files in use.
            refused = subprocess.run([WINE, self.artefact("x86_64", "setup"), "/S"], env=wine_env(),
                                     stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
            self.assertEqual(refused.returncode, 2)
            music = self.documents("My Music", "Quaverlane")
            burn_folder = unix_path(burn)
            wait_until(lambda: os.path.isdir(burn_folder) and
                       not [n for n in os.listdir(burn_folder) if n.lower().endswith(".wav")],
                       120, "the captured tracks were not all converted")
            converted = sorted(os.path.join(base, n) for base, _, names in os.walk(music) for n in names
                               if n.lower().endswith(".mp3"))
            self.assertEqual(len(converted), 3, converted)
            for path in converted:
                audio = mutagen.File(path)
                self.assertAlmostEqual(audio.info.length, 4.0, delta=0.5, msg=path)
                self.assertTrue(str(audio.tags["TIT2"]), path)
        finally:
            wine(os.path.join(BIN, "qvlctl.exe"), "exit", "30000", timeout=60, check=False)
            app.wait(timeout=60)

        wine(os.path.join(folder, "Uninstall.exe"), "/S")
        # The uninstaller runs from a copy of itself and removes the folder after this returns.
        wait_until(lambda: not os.path.exists(folder), 60, f"{folder} is still there")
        self.assertFalse(key_exists(UNINSTALL_KEY), "the uninstall entry is still there")
        self.assertIsNone(reg_value(RUN_KEY, "Quaverlane"), "the start at log-on is still there")
        self.assertFalse(key_exists(PROGRAM_KEY), "the installer's capture folder value is still there")
        self.assertFalse(os.path.exists(menu), "the Start menu folder is still there")
        for path in converted:
            self.assertTrue(os.path.isfile(path), f"the uninstaller took {path}")
        self.assertTrue(os.path.isfile(os.path.join(music, "disc.xml")), "the uninstaller took disc.xml")
        self.assertTrue(os.path.isfile(self.documents("Quaverlane", "qvl.log")), "the uninstaller took the log")

    def existing_capture_folder_and_no_start_at_log_on(self):
        # Catches an installer that overwrites the recorder driver's capture folder, ignores the
        # choice against the start at log-on or the folder chosen, and an uninstaller that takes
        # the driver's value with it.
        driver_folder = r"C:\Recorder\Capture"
        wine("reg", "add", PROGRAM_KEY, "/v", "TempFolder", "/t", "REG_SZ", "/d", driver_folder, "/f")
        wine(self.artefact("x86_64", "setup"), "/S", "/NOSTARTUP", r"/D=C:\Apps\Quaverlane")
        folder = unix_path(r"C:\Apps\Quaverlane")
        self.assertTrue(os.path.isfile(os.path.join(folder, "Quaverlane.exe")))
        self.assertEqual(reg_value(PROGRAM_KEY, "TempFolder"), driver_folder)
        self.assertIsNone(reg_value(RUN_KEY, "Quaverlane"))
        wine(os.path.join(folder, "Uninstall.exe"), "/S")
        wait_until(lambda: not os.path.exists(folder), 60, f"{folder} is still there")
        self.assertEqual(reg_value(PROGRAM_KEY, "TempFolder"), driver_folder)

    def documents(self, *parts):
        users = os.path.join(PREFIX, "drive_c", "users")
        owner = next(n for n in os.listdir(users) if n != "Public")
        return os.path.join(users, owner, "Documents", *parts)


def fresh_prefix():
    """A prefix of the test's own, made as the project's scripts make theirs, with a persistent
    Wine server whose streams are not ours (a captured run would wait for it otherwise)."""
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    subprocess.run(["bash", "-c", f'source "{ROOT}/tools/env.sh" && qvl_wine_prefix'], env=wine_env(), check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    subprocess.run([WINESERVER, "-p"], env=wine_env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    # The first program starts Wine's background processes, which keep the streams they are
    # given: they get none of ours.
    subprocess.run([WINE, "cmd", "/c", "exit"], env=wine_env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True, timeout=120)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
