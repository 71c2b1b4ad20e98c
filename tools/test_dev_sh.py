"""Tests of tools/dev.sh's set-up step, on a machine made of small stand-ins.

Run from the repository root:
    python3 -m unittest discover -s tools -p 'test_*.py'
dev.sh runs with a PATH that holds only the stand-ins written here (dpkg-query
that says which packages are installed, id that says who runs it, and, when
the case has them, sudo, apt-get and cmake that note how they were called)
and the few real tools the script needs: nothing is installed or built.
"""

import os
import shutil
import subprocess
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
DEV_SH = os.path.join(HERE, "dev.sh")


class DevShSetUpTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.tmp)
        self.bin = os.path.join(self.tmp, "bin")
        self.calls = os.path.join(self.tmp, "calls")
        os.mkdir(self.bin)
        for tool in ("grep", "dirname"):
            os.symlink(shutil.which(tool), os.path.join(self.bin, tool))

    def stand_in(self, name, body):
        path = os.path.join(self.bin, name)
        with open(path, "w") as f:
            f.write("#!" + shutil.which("bash") + "\n" + textwrap.dedent(body))
        os.chmod(path, 0o755)

    def machine(self, missing, uid=1000, sudo=False, cmake_status=3):
        """dpkg-query reports the packages in `missing` as not installed."""
        self.stand_in("dpkg-query", f"""\
            case "${{@: -1}}" in
                {"|".join(missing) if missing else "''"}) echo -n "unknown ok not-installed" ;;
                *) echo -n "install ok installed" ;;
            esac
            """)
        self.stand_in("id", f"""\
            case "$1" in -u) echo {uid} ;; *) echo astronome ;; esac
            """)
        note = f'echo "$(basename "$0") $*" >> {self.calls}\n'
        self.stand_in("apt-get", note)
        self.stand_in("basename", 'echo "${1##*/}"\n')
        # The build is where the set-up ends: it stops there (unless the
        # case goes on to the install).
        self.stand_in("cmake", note + "exit %d\n" % cmake_status)
        if sudo:
            self.stand_in("sudo", note + '"$@"\n')

    def run_dev_sh(self, *args, **env_extra):
        env = {"PATH": self.bin, "ORVANEL_JOBS": "1", "ORVANEL_BUILD_DIR": self.build}
        env.update(env_extra)
        return subprocess.run([shutil.which("bash"), DEV_SH] + list(args or ["start"]), env=env,
                              capture_output=True, text=True, timeout=60)

    @property
    def build(self):
        return os.path.join(self.tmp, "build")

    def called(self):
        if not os.path.exists(self.calls):
            return []
        with open(self.calls) as f:
            return f.read().splitlines()

    def test_without_sudo_it_says_what_to_do_and_names_the_missing_packages(self):
        self.machine(missing=["libgtest-dev", "ninja-build"])
        r = self.run_dev_sh()
        self.assertNotEqual(r.returncode, 0)
        self.assertNotEqual(r.returncode, 127, r.stderr)
        self.assertNotIn("command not found", r.stderr)
        self.assertIn("Missing packages: ninja-build libgtest-dev\n", r.stderr)
        self.assertIn("as root", r.stderr)
        self.assertIn("install sudo", r.stderr)
        self.assertIn("apt-get install -y ninja-build libgtest-dev", r.stderr)
        self.assertEqual(self.called(), [], "nothing installed, nothing built")

    def test_with_sudo_the_missing_packages_are_installed_through_it(self):
        self.machine(missing=["libgtest-dev"], sudo=True)
        r = self.run_dev_sh()
        calls = self.called()
        self.assertEqual(calls[:4], ["sudo apt-get update -q", "apt-get update -q",
                                     "sudo apt-get install -y -q libgtest-dev",
                                     "apt-get install -y -q libgtest-dev"], r.stderr)
        self.assertTrue(calls[4].startswith("cmake "), calls)
        self.assertEqual(r.returncode, 3)

    def test_as_root_or_with_nothing_missing_sudo_is_not_needed(self):
        for missing, uid, first_call in ((["cmake"], 0, "apt-get update -q"), ([], 1000, "cmake ")):
            with self.subTest(missing=missing, uid=uid):
                if os.path.exists(self.calls):
                    os.remove(self.calls)
                self.machine(missing=missing, uid=uid)
                r = self.run_dev_sh()
                self.assertNotIn("sudo", r.stderr)
                self.assertTrue(self.called()[0].startswith(first_call), (self.called(), r.stderr))
                self.assertEqual(r.returncode, 3)


    def test_install_builds_the_program_then_installs_it_where_asked(self):
        cases = [
            ("root", 0, [], {}, "/usr/local"),
            ("a user", 1000, [], {"HOME": "/home/astronome"}, "/home/astronome/.local"),
            ("ORVANEL_PREFIX", 1000, [], {"HOME": "/home/astronome", "ORVANEL_PREFIX": "/opt/orvanel"},
             "/opt/orvanel"),
            ("--prefix=DIR over ORVANEL_PREFIX", 0, ["--prefix=/srv/ciel"], {"ORVANEL_PREFIX": "/opt/orvanel"},
             "/srv/ciel"),
            ("--prefix DIR", 1000, ["--prefix", "/srv/ciel"], {"HOME": "/home/astronome"}, "/srv/ciel"),
        ]
        for what, uid, args, env, prefix in cases:
            with self.subTest(what):
                if os.path.exists(self.calls):
                    os.remove(self.calls)
                self.machine(missing=[], uid=uid, cmake_status=0)
                r = self.run_dev_sh("install", *args, **env)
                self.assertEqual(r.returncode, 0, r.stderr)
                calls = self.called()
                self.assertIn("--target orvanel", calls[-2], calls)
                self.assertEqual(calls[-1], "cmake --install %s --prefix %s" % (self.build, prefix))

    def test_install_refuses_anything_but_a_prefix(self):
        self.machine(missing=[], cmake_status=0)
        for args, named in ((["--prefx=/opt"], "--prefx=/opt"), (["--prefix="], "--prefix="), (["--prefix"], "--prefix")):
            r = self.run_dev_sh("install", *args)
            self.assertEqual(r.returncode, 2, args)
            self.assertIn(named, r.stderr)
            self.assertEqual(self.called(), [], "nothing built, nothing installed (%s)" % args)

    def test_uninstall_removes_what_the_manifest_lists_and_sets_nothing_up(self):
        self.machine(missing=["cmake"], cmake_status=0)
        r = self.run_dev_sh("uninstall")
        self.assertEqual(r.returncode, 1)
        self.assertIn("Nothing to uninstall", r.stderr)
        self.assertEqual(self.called(), [])

        os.makedirs(self.build)
        manifest = os.path.join(self.build, "install_manifest.txt")
        with open(manifest, "w") as f:
            f.write("/usr/local/bin/orvanel\n")
        r = self.run_dev_sh("uninstall")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(self.called(), ["cmake -DMANIFEST=%s -P %s" % (
            manifest, os.path.join(HERE, "uninstall.cmake"))], "no package installed first")


if __name__ == "__main__":
    unittest.main()
