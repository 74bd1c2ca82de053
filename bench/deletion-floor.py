#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The file system's share of a deletion pass: FILES one-byte files, 1,000 to a folder, below
# FOLDER (which must not exist), written out, then each taken with a write lease, renamed,
# unlinked and followed by a 1 ms sleep, as the pass does, in the folders' own order. Prints
# the cost per file and removes FOLDER.
#   bench/deletion-floor.py FILES FOLDER
import fcntl
import os
import shutil
import sys
import time

files, base = int(sys.argv[1]), sys.argv[2]
for i in range(files):
    folder = f"{base}/{i // 1000}"
    if i % 1000 == 0:
        os.makedirs(folder)
    fd = os.open(f"{folder}/junk{i}.tmp", os.O_WRONLY | os.O_CREAT | os.O_EXCL)
    os.write(fd, b"x")
    os.close(fd)
os.sync()

order = [(f"{base}/{sub}", name) for sub in os.listdir(base) for name in os.listdir(f"{base}/{sub}")]
start = time.perf_counter()
for k, (folder, name) in enumerate(order):
    folder_fd = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)
    fd = os.open(name, os.O_RDONLY | os.O_NONBLOCK, dir_fd=folder_fd)
    fcntl.fcntl(fd, fcntl.F_SETLEASE, fcntl.F_WRLCK)
    private = f".velmaro-deleting-{k}"
    os.rename(name, private, src_dir_fd=folder_fd, dst_dir_fd=folder_fd)
    os.unlink(private, dir_fd=folder_fd)
    fcntl.fcntl(fd, fcntl.F_SETLEASE, fcntl.F_UNLCK)
    os.close(fd)
    os.close(folder_fd)
    time.sleep(0.001)
elapsed = time.perf_counter() - start
print(f"{files} files below {base}: {elapsed / files * 1e3:.3f} ms per file (1 ms sleep included)")
shutil.rmtree(base)
