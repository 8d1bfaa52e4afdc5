"""What a user downloads: the version each built binary carries, the release archives (made twice,
byte for byte the same, holding the laid-out folder under Quorvan-<version>), and one of them unzipped
and started under a Wine prefix of its own."""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

from quorvan_e2e import BUILD, DIST, ROOT, RUNS, QuorvanTest, wine_environment

sys.path.insert(0, os.path.join(ROOT, "tools"))
import versioninfo  # noqa: E402

OK = b"ok;\0"


def version():
    with open(os.path.join(ROOT, "VERSION")) as f:
        return f.read().strip()


def laid_out(folder):
    """{relative path: bytes} of every file under folder."""
    files = {}
    for parent, _, names in os.walk(folder):
        for name in names:
            with open(os.path.join(parent, name), "rb") as f:
                files[os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/")] = f.read()
    return files


class VersionTest(QuorvanTest):
    def test_each_built_binary_carries_the_version_of_VERSION(self):
        expected = version()
        for arch in ("win64", "win32"):
            for name in ("Quorvan.exe", "tunersim.ax"):
                with self.subTest(binary="%s/%s" % (arch, name)):
                    with open(os.path.join(DIST, arch, name), "rb") as f:
                        found = versioninfo.read_version(f.read())
                    got = {key: found.get(key) for key in ("FileVersion", "ProductVersion", "fixed file",
                                                          "fixed product", "ProductName", "OriginalFilename")}
                    self.assertGot(got, {"FileVersion": expected, "ProductVersion": expected,
                                         "fixed file": expected + ".0", "fixed product": expected + ".0",
                                         "ProductName": "Quorvan", "OriginalFilename": name}, "version block")
                    self.assertIn("Copyright", found.get("LegalCopyright", ""))


class ReleaseTest(QuorvanTest):
    def make_release(self, out):
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_release.py"), "--dist", DIST, "--out", out],
                       check=True, stdout=subprocess.DEVNULL)
        return sorted(os.listdir(out))

    def test_two_layouts_of_one_build_a_second_apart_are_the_same_bytes(self):
        layouts = []
        with tempfile.TemporaryDirectory() as scratch:
            for name in ("first", "second"):
                subprocess.run([os.path.join(ROOT, "tools", "make-dist.sh"), os.path.join(BUILD, "win64"),
                                os.path.join(scratch, name)], cwd=ROOT, check=True)
                layouts.append(laid_out(os.path.join(scratch, name)))
                time.sleep(1.1)  # a time written into a binary would now differ
        first, second = layouts
        self.assertGot(sorted(n for n in first if first[n] != second.get(n)), [], "files that differ between layouts")

    def test_two_releases_are_the_same_bytes_and_one_unzipped_starts_under_a_new_prefix(self):
        top = "Quorvan-" + version()
        names = [top + "-win32.zip", top + "-win64.zip", "SHA256SUMS"]
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            self.assertGot(self.make_release(first), names, "files of the release")
            self.assertGot(self.make_release(second), names, "files of the second release")
            for name in names:
                same = subprocess.run(["cmp", os.path.join(first, name), os.path.join(second, name)]).returncode == 0
                self.assertTrue(same, "%s differs between two releases of one commit" % name)
            checked = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=first, stdout=subprocess.PIPE, text=True)
            self.assertGot(checked.stdout.split(), [names[0] + ":", "OK", names[1] + ":", "OK"], "sha256sum -c")
            unzipped = os.path.join(RUNS, "release-unzipped")
            shutil.rmtree(unzipped, ignore_errors=True)
            with zipfile.ZipFile(os.path.join(first, names[1])) as archive:
                self.assertGot({n.split("/")[0] for n in archive.namelist()}, {top}, "top folders of the archive")
                archive.extractall(unzipped)
        self.assertGot(sorted(laid_out(os.path.join(unzipped, top)).items()), sorted(laid_out(os.path.join(DIST, "win64")).items()),
                       "files unzipped (with their bytes) against the laid-out folder")
        self.start_and_close_under_a_new_prefix(os.path.join(unzipped, top))

    def start_and_close_under_a_new_prefix(self, program):
        # A copy of the prepared prefix is a new prefix at a second's cost (a fresh one takes 15 s).
        prefix = os.path.join(RUNS, "release-prefix")
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", wine_environment()["WINEPREFIX"], prefix], check=True)
        try:
            run = self.open_run(name="release-run", program=program, environment={"WINEPREFIX": prefix})
            run.start()
            run.driver("close")
            self.assertGot(run.wait_exit(), 0, "exit code")
            self.assertGot(run.read("log.txt")[-4:], OK, "last marker of log.txt")
        finally:
            for run in self.runs:
                run.stop()
            subprocess.run(["wineserver", "-k"], env=wine_environment({"WINEPREFIX": prefix}))
            shutil.rmtree(prefix, ignore_errors=True)


class RunFolderTest(QuorvanTest):
    def test_make_run_leaves_the_laid_out_folder_as_make_dist_makes_it(self):
        before = laid_out(os.path.join(DIST, "win64"))
        env = wine_environment()
        env.pop("DISPLAY", None)
        result = subprocess.run([os.path.join(ROOT, "tools", "run.sh")], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, timeout=300)
        self.assertGot(result.returncode, 0, "run.sh's exit code (its words: %s)" % result.stdout[-2000:])
        self.assertTrue(os.path.exists(os.path.join(BUILD, "run", "win64", "qvnth.dat")),
                        "the run left no settings in its own folder")
        after = laid_out(os.path.join(DIST, "win64"))
        self.assertGot(sorted(set(after) - set(before)), [], "files a run added to dist/win64")
        self.assertGot(sorted(n for n in before if after.get(n) != before[n]), [], "files a run changed in dist/win64")
