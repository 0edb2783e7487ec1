"""plutil -lint and -p over the shared corpus of property lists made
elsewhere, hostile ones included: never a crash or a sanitizer report, a
verdict for every file, a non-zero exit for bad files, and nothing raw on a
terminal. Skipped (exit 77) when the corpus is absent."""

import os
import re
import sys

from toolimage import check, expect_equal, main

# Files the corpus's README names as meant to be rejected.
KNOWN_BAD = ["samples/malformed_dict.bplist", "samples/recursion.bplist", "samples/invalid_tag.plist"]


def check_corpus(image):
    for folder in sorted(os.listdir(image.corpus)):
        directory = os.path.join(image.corpus, folder)
        if not os.path.isdir(directory):
            continue
        files = [os.path.join(directory, name) for name in sorted(os.listdir(directory))]
        done = image.plutil("-lint", *files)
        lines = done.stdout.decode().splitlines()
        expect_equal(len(lines), len(files), f"verdicts for the {len(files)} files of {folder}")
        good = []
        for path, line in zip(files, lines):
            check(line.startswith(path + ": "), f"{line!r} is not the verdict on {path}")
            if line == path + ": OK":
                good.append(path)
        expect_equal(done.returncode, 0 if len(good) == len(files) else 1, f"-lint exit status over {folder}")
        for path in good:
            shown = image.plutil("-p", path, check_status=0).stdout.decode()
            check(not re.search("[\x00-\x09\x0b-\x1f\x7f-\x9f]", shown), f"plutil -p {path} printed control characters")
    for name in KNOWN_BAD:
        image.plutil("-lint", os.path.join(image.corpus, name), check_status=1)


if __name__ == "__main__":
    if not os.path.isdir(sys.argv[4]):
        print(f"skipped: no corpus at {sys.argv[4]}")
        sys.exit(77)
    main(check_corpus)
