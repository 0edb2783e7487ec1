"""A device image installed from the build tree, for running the installed
`defaults` and `plutil` as a person or a script runs them.

A check script calls `main(check)`; its arguments are cmake, the build tree,
the project version and the shared property-list corpus folder. `check(image)`
raises CheckFailure on the first wrong answer; `main` turns that into a
message and a non-zero exit for ctest, and removes the image otherwise.
"""

import os
import plistlib
import shutil
import subprocess
import sys
import tempfile

PREFERENCES = "var/mobile/Library/Preferences"


class CheckFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailure(message)


def expect_equal(got, expected, what):
    check(got == expected, f"{what}:\n  got      {got!r}\n  expected {expected!r}")


def typed(value):
    """The value with every scalar tagged by its type: True and 1 differ."""
    if isinstance(value, dict):
        return {k: typed(v) for k, v in value.items()}
    if isinstance(value, list):
        return [typed(v) for v in value]
    return (type(value).__name__, value)


class Image:
    def __init__(self, cmake, build, version, corpus):
        self.version = version
        self.corpus = corpus
        self.root = tempfile.mkdtemp(prefix="velloria-tools-")
        subprocess.run([cmake, "--install", build, "--prefix", self.root], check=True, stdout=subprocess.DEVNULL)
        self.scratch = os.path.join(self.root, "scratch")
        os.makedirs(self.scratch)

    def path(self, relative):
        return os.path.join(self.root, relative)

    def run(self, tool, *args, input=None, check_status=None):
        """Runs bin/TOOL with DEVICE_ROOT at the image; returns the completed
        process (bytes). check_status: the exit status it must have."""
        env = dict(os.environ, DEVICE_ROOT=self.root)
        env.pop("LD_LIBRARY_PATH", None)
        done = subprocess.run([self.path("bin/" + tool), *args], input=input, capture_output=True, env=env,
                              timeout=120)
        check(done.returncode >= 0, f"{tool} {args} was killed by signal {-done.returncode}")
        check(b"Sanitizer" not in done.stderr,
              f"{tool} {args}: sanitizer report:\n{done.stderr.decode(errors='replace')}")
        if check_status is not None:
            check(done.returncode == check_status,
                  f"{tool} {args} exited {done.returncode}, not {check_status}; stderr: {done.stderr!r}")
        return done

    def defaults(self, *args, **kw):
        return self.run("defaults", *args, **kw)

    def plutil(self, *args, **kw):
        return self.run("plutil", *args, **kw)

    def domain_file(self, domain):
        return self.path(f"{PREFERENCES}/{domain}.plist")

    def domain(self, domain):
        with open(self.domain_file(domain), "rb") as f:
            return plistlib.load(f)

    def scratch_file(self, name, value=None, fmt=plistlib.FMT_XML):
        path = os.path.join(self.scratch, name)
        if value is not None:
            with open(path, "wb") as f:
                plistlib.dump(value, f, fmt=fmt, sort_keys=False)
        return path

    def check_no_temporary_files(self, directory):
        strays = [n for n in os.listdir(directory) if ".tmp-" in n]
        check(not strays, f"temporary files left in {directory}: {strays}")

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def main(check_image):
    if len(sys.argv) != 5:
        sys.exit(f"usage: {sys.argv[0]} CMAKE BUILD_TREE VERSION CORPUS_DIR")
    image = Image(*sys.argv[1:])
    try:
        check_image(image)
    except CheckFailure as failure:
        sys.exit(f"FAILED: {failure}\n(the image is kept at {image.root})")
    image.remove()
    print("ok")
