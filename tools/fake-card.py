#!/usr/bin/python3
# A card sold with a false size, for the tests: a FUSE file system that reports twice the space
# it stores. Files are laid out one block after another, as a new card is filled; a block past
# the real size is stored over the block it wraps to, so that what was written first is lost
# when the card is filled, as on such cards. Reads are served uncached (direct_io): what is read
# back is what the card holds. Names and sizes stay whole: only the data wraps.
#
#   fake-card.py SIZE FOLDER   mounts a card that claims SIZE (as truncate(1) takes it: 32M)
#                              on FOLDER and serves it until it is unmounted
import errno
import heapq
import stat
import sys
import time

from fusepy import FUSE, FuseOSError, Operations

BLOCK = 4096


def parse_size(text):
    units = {"K": 1 << 10, "M": 1 << 20, "G": 1 << 30}
    if text[-1:].upper() in units:
        return int(text[:-1]) * units[text[-1:].upper()]
    return int(text)


class Node:
    def __init__(self, mode):
        now = time.time_ns()
        self.mode = mode
        self.times = [now, now, now]  # accessed, modified, changed
        self.children = {} if stat.S_ISDIR(mode) else None
        self.blocks = []  # a file's blocks as the card counts them, before they wrap
        self.size = 0
        self.xattrs = {}


class FakeCard(Operations):
    use_ns = True

    def __init__(self, claimed):
        self.real_blocks = claimed // BLOCK // 2
        self.claimed_blocks = self.real_blocks * 2
        self.store = bytearray(self.real_blocks * BLOCK)
        self.next_block = 0  # where a new card goes on filling
        self.freed = []  # blocks given back, taken again lowest first
        self.root = Node(stat.S_IFDIR | 0o755)

    # The tree.
    def find(self, path):
        node = self.root
        for part in filter(None, path.split("/")):
            if node.children is None or part not in node.children:
                raise FuseOSError(errno.ENOENT)
            node = node.children[part]
        return node

    def parent_and_name(self, path):
        folder, _, name = path.rstrip("/").rpartition("/")
        parent = self.find(folder or "/")
        if parent.children is None:
            raise FuseOSError(errno.ENOTDIR)
        return parent, name

    def add(self, path, mode):
        parent, name = self.parent_and_name(path)
        if name in parent.children:
            raise FuseOSError(errno.EEXIST)
        parent.children[name] = node = Node(mode)
        return node

    # The blocks.
    def allocate(self):
        if self.freed:
            return heapq.heappop(self.freed)
        if self.next_block == self.claimed_blocks:
            raise FuseOSError(errno.ENOSPC)
        self.next_block += 1
        return self.next_block - 1

    def release_blocks(self, node, keep):
        for block in node.blocks[keep:]:
            heapq.heappush(self.freed, block)
        del node.blocks[keep:]

    def span(self, block):
        start = (block % self.real_blocks) * BLOCK
        return start, start + BLOCK

    def resize(self, node, size):
        wanted = (size + BLOCK - 1) // BLOCK
        if wanted < len(node.blocks):
            self.release_blocks(node, wanted)
        while len(node.blocks) < wanted:
            block = self.allocate()
            start, end = self.span(block)
            self.store[start:end] = bytes(BLOCK)
            node.blocks.append(block)
        if size < node.size and size % BLOCK:
            start, end = self.span(node.blocks[-1])
            self.store[start + size % BLOCK : end] = bytes(BLOCK - size % BLOCK)
        node.size = size

    # The file system.
    def getattr(self, path, fh=None):
        node = self.find(path)
        return {
            "st_mode": node.mode,
            "st_nlink": 2 if node.children is not None else 1,
            "st_size": node.size,
            "st_blocks": len(node.blocks) * BLOCK // 512,
            "st_atime": node.times[0],
            "st_mtime": node.times[1],
            "st_ctime": node.times[2],
        }

    def statfs(self, path):
        used = self.next_block - len(self.freed)
        free = self.claimed_blocks - used
        return {
            "f_bsize": BLOCK,
            "f_frsize": BLOCK,
            "f_blocks": self.claimed_blocks,
            "f_bfree": free,
            "f_bavail": free,
            "f_namemax": 255,
        }

    def readdir(self, path, fh):
        return [".", ".."] + list(self.find(path).children)

    def mkdir(self, path, mode):
        self.add(path, stat.S_IFDIR | mode)

    def rmdir(self, path):
        parent, name = self.parent_and_name(path)
        node = self.find(path)
        if node.children:
            raise FuseOSError(errno.ENOTEMPTY)
        del parent.children[name]

    def create(self, path, mode, fi=None):
        self.add(path, stat.S_IFREG | mode)
        return 0

    def open(self, path, flags):
        self.find(path)
        return 0

    def unlink(self, path):
        parent, name = self.parent_and_name(path)
        self.release_blocks(self.find(path), 0)
        del parent.children[name]

    def rename(self, old, new):
        old_parent, old_name = self.parent_and_name(old)
        new_parent, new_name = self.parent_and_name(new)
        node = self.find(old)
        held = new_parent.children.get(new_name)
        if held is not None and held is not node:
            if held.children:
                raise FuseOSError(errno.ENOTEMPTY)
            self.release_blocks(held, 0)
        del old_parent.children[old_name]
        new_parent.children[new_name] = node

    def truncate(self, path, length, fh=None):
        self.resize(self.find(path), length)

    def read(self, path, size, offset, fh):
        node = self.find(path)
        data = bytearray()
        end = min(offset + size, node.size)
        while offset < end:
            start, _ = self.span(node.blocks[offset // BLOCK])
            take = min(end - offset, BLOCK - offset % BLOCK)
            data += self.store[start + offset % BLOCK : start + offset % BLOCK + take]
            offset += take
        return bytes(data)

    def write(self, path, data, offset, fh):
        node = self.find(path)
        if offset + len(data) > node.size:
            self.resize(node, offset + len(data))
        done = 0
        while done < len(data):
            at = offset + done
            start, _ = self.span(node.blocks[at // BLOCK])
            take = min(len(data) - done, BLOCK - at % BLOCK)
            self.store[start + at % BLOCK : start + at % BLOCK + take] = data[done : done + take]
            done += take
        node.times[1] = time.time_ns()
        return len(data)

    def utimens(self, path, times=None):
        now = time.time_ns()
        accessed, modified = times if times else (now, now)
        node = self.find(path)
        node.times[0], node.times[1] = accessed, modified

    def chmod(self, path, mode):
        node = self.find(path)
        node.mode = stat.S_IFMT(node.mode) | stat.S_IMODE(mode)

    def chown(self, path, uid, gid):
        self.find(path)

    # Wine keeps DOS attributes (hidden, read-only) in an extended attribute.
    def getxattr(self, path, name, position=0):
        attrs = self.find(path).xattrs
        if name not in attrs:
            raise FuseOSError(errno.ENODATA)
        return attrs[name]

    def setxattr(self, path, name, value, options, position=0):
        self.find(path).xattrs[name] = bytes(value)

    def listxattr(self, path):
        return list(self.find(path).xattrs)

    def removexattr(self, path, name):
        if self.find(path).xattrs.pop(name, None) is None:
            raise FuseOSError(errno.ENODATA)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: fake-card.py SIZE FOLDER")
    FUSE(FakeCard(parse_size(sys.argv[1])), sys.argv[2], foreground=True, nothreads=True,
         direct_io=True, big_writes=True, max_write=131072, nonempty=True, fsname="fakecard")
