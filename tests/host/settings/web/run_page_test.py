#!/usr/bin/python3
"""Runs the page test in a headless Chromium against a served settings host
on a fresh device image, then stops the host with SIGTERM and checks that it
ends with status 0.

usage: run_page_test.py BASE_IMAGE WORK_DIR SHOTS_DIR
"""
import os
import subprocess
import sys

from served import ServedHost, fresh_image

base, work, shots = sys.argv[1:4]
image = os.path.join(work, "image")
fresh_image(base, image)
host = ServedHost(image).start()
try:
    page_test = os.path.join(os.path.dirname(os.path.abspath(__file__)), "page_test.py")
    status = subprocess.run(["/usr/bin/python3", page_test, host.url, image, shots], timeout=900).returncode
finally:
    stopped = host.stop()
if stopped != 0:
    sys.exit(f"the served host ended with status {stopped}: {host.stderr}")
sys.exit(status)
