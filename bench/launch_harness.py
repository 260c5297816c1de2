#!/usr/bin/env python3
"""Whole-program launch benchmarks for Quillwave.

Each measure runs Quillwave and a reference that does the same work in the
same session, alternating which goes first, and prints the median of each
and their ratio next to the goal:

  launch      `quillwave URL` from start to the page's onload, against a
              bare QWebEngineView program loading the same page.
  forward     with a copy running, `quillwave URL` from the second start to
              the page's onload in the running copy, against a minimal Qt
              Core program followed by a new tab in the running reference.
  fwd-life    the forwarding copy's own lifetime, against a Qt Core program
              that starts and exits.
  mem-10      memory of the process tree with 10 pages in tabs (the first
              from the command line, 9 forwarded), against the reference
              with 10 views (the first on its command line, 9 more handed
              to it over its standard input).
  restore-30  30 remembered tabs (StartupMode "Last"), start to the last
              onload, against the reference loading the same 30 pages.
  mem-30      memory of both trees after that.
  group-30    `quillwave work.vgp` with a saved group of 30 pages, start to
              the last onload, against the reference loading the same 30
              pages in 30 views; memory of both trees after that.
  group-100   tabs that load when shown (LoadTabsOnShow on): `quillwave
              work.vgp` with a saved group of 100 pages, start to the front
              page's onload, and memory after that, against Quillwave's own
              one-page start (`quillwave URL`).
  restore-100 the same for 100 remembered tabs (StartupMode "Last").
              On a display (not offscreen) both also time showing a tab
              that waits to load (Ctrl+Tab, key press to its onload)
              against a new tab in the same run (Ctrl+N, the address
              typed, Return to its onload).

Memory is the number of distinct physical pages that the process tree has
present, read from /proc/PID/pagemap for every mapping of every process in
the tree, times the page size: a page shared by several processes counts
once. It needs root (the frame numbers read as zero otherwise).

The programs run on a private Xvfb with the openbox window manager, as on
a desktop (--platform xvfb: without a window manager; offscreen: Qt's
offscreen platform). Quillwave's timed runs write their start-up timeline
(QUILLWAVE_TIMELINE), and the medians of its phases are printed after the
table.

Usage: bench/launch_harness.py [--build DIR] [--runs N] [--only a,b,c,d,e,f,g]
                               [--platform xvfb-wm|xvfb|offscreen]
The programs must already be built (quillwave, quillwave-browser,
quillwave-reg, bench_bare_webengine, bench_minimal_qtcore in DIR/bin).
`quillwave` is the small launcher people start: it forwards to a running
copy itself and otherwise becomes quillwave-browser in the same process,
so every measure starts it exactly as a user would.
"""

import argparse
import array
import ctypes
import http.server
import os
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import uuid
import zlib
from urllib.parse import parse_qs, urlsplit

PAGE_SIZE = os.sysconf("SC_PAGE_SIZE")
VALUE_KEY = "HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave\\CurrentVersion"
LAST_SITES_KEY = VALUE_KEY + "\\Last Open Sites"
WINDOW_SIZE = (1024, 768)  # bench_bare_webengine's window


class BenchError(Exception):
    pass


# --------------------------------------------------------------------------
# Pages


def make_png(width, height, seed):
    """A small gradient PNG, built with zlib alone."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter: none
        for x in range(width):
            rows += bytes(((x * 255 // width + seed * 37) % 256,
                           (y * 255 // height + seed * 11) % 256,
                           ((x + y) * 3 + seed * 53) % 256))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


WORDS = ("tide harbour lantern quarry meadow signal orchard copper willow ember "
         "ferry granite thistle beacon saddle cobble marsh rivet hollow spindle").split()


def paragraph(seed, count):
    return " ".join(WORDS[(seed * 7 + i * 13) % len(WORDS)] for i in range(count)).capitalize() + "."


SCRIPT = b"""// Some work a page does while it loads: build a table of contents.
document.addEventListener('DOMContentLoaded', function () {
  var list = document.getElementById('toc');
  document.querySelectorAll('h2').forEach(function (h, i) {
    var item = document.createElement('li');
    item.textContent = (i + 1) + '. ' + h.textContent;
    list.appendChild(item);
  });
  var sum = 0;
  for (var i = 0; i < 20000; ++i) sum += Math.sqrt(i);
  document.getElementById('sum').textContent = sum.toFixed(1);
});
"""


def page_html(token, page_id):
    sections = []
    for s in range(6):
        sections.append("<h2>Section %d of page %d</h2>\n<p>%s</p>\n<p>%s</p>"
                        % (s + 1, page_id, paragraph(page_id + s, 60), paragraph(page_id * 3 + s, 45)))
    return ("""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Bench page %(id)d</title>
<style>body{font-family:sans-serif;max-width:50em;margin:1em auto;line-height:1.4}
img{float:right;margin:0 0 1em 1em;border:1px solid #888}</style>
<script src="/s/%(token)s/app.js"></script>
<script>addEventListener('load', function () { fetch('/loaded?t=%(token)s&id=%(id)d'); });</script>
</head><body>
<h1>Bench page %(id)d</h1>
<img src="/s/%(token)s/img%(id)d.png" width="200" height="120" alt="gradient %(id)d">
<ul id="toc"></ul><p>Checksum: <span id="sum"></span></p>
%(sections)s
</body></html>
""" % {"id": page_id, "token": token, "sections": "\n".join(sections)}).encode()


class PageServer:
    """Loopback HTTP server: serves the pages and records each page's onload."""

    def __init__(self):
        self._lock = threading.Condition()
        self._loaded = {}  # token -> {id: monotonic time of the report}
        self._requested = {}  # token -> {id: monotonic time of the page's first request}
        self._images = {}
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                now = time.monotonic()
                url = urlsplit(self.path)
                if url.path == "/loaded":
                    query = parse_qs(url.query)
                    try:
                        server._report(query["t"][0], int(query["id"][0]), now)
                    except (KeyError, ValueError):
                        pass
                    return self._send(204, b"", "text/plain")
                parts = url.path.split("/")
                # /s/<token>/<file>
                if len(parts) == 4 and parts[1] == "s":
                    token, name = parts[2], parts[3]
                    if name == "app.js":
                        return self._send(200, SCRIPT, "text/javascript")
                    if name.startswith("page") and name.endswith(".html"):
                        try:
                            page_id = int(name[4:-5])
                        except ValueError:
                            page_id = None
                        if page_id is not None:
                            server._request(token, page_id, now)
                            return self._send(200, page_html(token, page_id), "text/html")
                    if name.startswith("img") and name.endswith(".png"):
                        try:
                            return self._send(200, server._image(int(name[3:-4])), "image/png")
                        except ValueError:
                            pass
                self._send(404, b"not here", "text/plain")

            def _send(self, code, body, kind):
                self.send_response(code)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                if body:
                    self.wfile.write(body)

        class Server(http.server.ThreadingHTTPServer):
            daemon_threads = True

            def handle_error(self, request, client_address):
                # A program ended with its connections open: nothing to say.
                if not isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
                    super().handle_error(request, client_address)

        self.httpd = Server(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def _image(self, page_id):
        with self._lock:
            if page_id not in self._images:
                self._images[page_id] = make_png(200, 120, page_id)
            return self._images[page_id]

    def _request(self, token, page_id, when):
        with self._lock:
            self._requested.setdefault(token, {}).setdefault(page_id, when)

    def requested(self, token, page_id):
        with self._lock:
            return self._requested.get(token, {}).get(page_id)

    def _report(self, token, page_id, when):
        with self._lock:
            self._loaded.setdefault(token, {}).setdefault(page_id, when)
            self._lock.notify_all()

    def url(self, token, page_id):
        return "http://127.0.0.1:%d/s/%s/page%d.html" % (self.port, token, page_id)

    def wait_loaded(self, token, ids, timeout, alive=None):
        """Times of the onload reports of ids; fails after timeout, or as soon
        as alive() says the program is gone."""
        deadline = time.monotonic() + timeout
        ids = set(ids)
        with self._lock:
            while True:
                got = self._loaded.get(token, {})
                if ids <= got.keys():
                    return {i: got[i] for i in ids}
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise BenchError("timed out after %ds: %d of %d pages reported onload"
                                     % (timeout, len(ids & got.keys()), len(ids)))
                if alive is not None and not alive():
                    raise BenchError("the program ended before every page reported onload "
                                     "(%d of %d)" % (len(ids & got.keys()), len(ids)))
                self._lock.wait(min(remaining, 0.2))

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


# --------------------------------------------------------------------------
# Processes


def become_subreaper():
    """Orphans of the programs (engine helpers) become our children, so that
    nothing escapes the clean-up."""
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        PR_SET_CHILD_SUBREAPER = 36
        libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    except (OSError, AttributeError):
        pass


def process_table():
    """(pid, state, parent pid) of every process /proc lists now."""
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        # After the name in parentheses: the state, then the parent.
        fields = stat[stat.rindex(")") + 2:].split()
        yield int(entry), fields[0], int(fields[1])


def parent_map():
    return {pid: ppid for pid, state, ppid in process_table() if state != "Z"}


def descendants(root, include_root=True):
    parents = parent_map()
    children = {}
    for pid, ppid in parents.items():
        children.setdefault(ppid, []).append(pid)
    found = [root] if include_root and root in parents else []
    todo = [root]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def process_name(pid):
    try:
        with open("/proc/%d/comm" % pid) as f:
            return f.read().strip()
    except OSError:
        return "?"


def reap_orphans(keep):
    """Collects exited orphans that were re-parented to us, leaving the
    children whose status a Popen object still wants."""
    for pid in list(descendants(os.getpid(), include_root=False)) + scan_zombie_children():
        if pid in keep:
            continue
        try:
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass


def scan_zombie_children():
    me = os.getpid()
    return [pid for pid, state, ppid in process_table() if state == "Z" and ppid == me]


class Runner:
    """Starts programs, and ends them and everything they started."""

    def __init__(self, build, platform_env):
        self.bin = os.path.join(build, "bin")
        self.platform_env = platform_env
        self.procs = []
        self.helpers = set()  # pids not to touch (Xvfb, the window manager)
        self.scratch = []  # folders of the helpers, removed at the end
        self.notes = []

    def binary(self, name):
        path = os.path.join(self.bin, name)
        if not os.access(path, os.X_OK):
            raise BenchError("%s is not built (looked for %s)" % (name, path))
        return path

    def fresh_env(self, home):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "QTWEBENGINE_", "QUILLWAVE_"))}
        runtime = os.path.join(home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update({
            "HOME": home,
            "QUILLWAVE_HOME": os.path.join(home, "quillwave"),
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, "config"),
            "XDG_DATA_HOME": os.path.join(home, "data"),
            "XDG_CACHE_HOME": os.path.join(home, "cache"),
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            "LC_ALL": "C.UTF-8",
        })
        env.update(self.platform_env)
        return env

    def start(self, args, env, log_name, stdin=subprocess.DEVNULL):
        log = open(os.path.join(env["HOME"], log_name + ".log"), "ab")
        proc = subprocess.Popen(args, env=env, stdin=stdin, stdout=log, stderr=subprocess.STDOUT,
                                start_new_session=True, cwd=env["HOME"])
        log.close()
        proc.log_path = os.path.join(env["HOME"], log_name + ".log")
        self.procs.append(proc)
        return proc

    def run_to_end(self, args, env, log_name, timeout):
        proc = self.start(args, env, log_name)
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.stop(proc, graceful=False)
            raise BenchError("%s did not end within %ds" % (os.path.basename(args[0]), timeout))
        return proc.returncode

    def stop(self, proc, graceful=True, label=None):
        """Ends proc and its tree. With graceful, SIGTERM first and report
        whatever the program leaves behind or how it ended."""
        tree = descendants(proc.pid)
        if proc.poll() is None and graceful:
            try:
                os.kill(proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                proc.wait(20)
            except subprocess.TimeoutExpired:
                self.note("%s did not end within 20 s of SIGTERM" % (label or proc.args[0]))
            # The references take SIGTERM's default action; Quillwave closes.
            if proc.returncode not in (None, 0) and label and label.startswith("quillwave"):
                self.note("%s ended with status %s after SIGTERM (log: %s)"
                          % (label, proc.returncode, proc.log_path))
            # Engine helpers end on their own once the browser process is gone.
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline:
                ours = descendants(os.getpid(), include_root=False)
                left = [p for p in tree if p != proc.pid and p in ours]
                if not left:
                    break
                time.sleep(0.1)
            else:
                if label:
                    self.note("%s left %d process(es) 5 s after it ended: %s"
                              % (label, len(left), ", ".join(sorted({process_name(p) for p in left}))))
        self._kill(proc, tree)

    def _kill(self, proc, tree):
        for _ in range(3):
            # Only processes that are still ours: a pid of the old tree may
            # have been reused by someone else's process meanwhile.
            ours = set(descendants(os.getpid(), include_root=False)) - self.helpers
            live = set(tree) | set(descendants(proc.pid))
            for pid in list(live):
                live.update(descendants(pid))
            live &= ours
            if not live:
                break
            for pid in live:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            time.sleep(0.2)
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            pass
        reap_orphans({p.pid for p in self.procs if p.returncode is None})

    def cleanup(self, final=False):
        for proc in self.procs:
            if proc.pid in self.helpers:
                continue
            if proc.poll() is None or descendants(proc.pid, include_root=False):
                self._kill(proc, descendants(proc.pid))
        if final:
            # The window manager before the display it runs on.
            for proc in reversed(self.procs):
                if proc.pid in self.helpers and proc.poll() is None:
                    proc.terminate()
                    try:
                        proc.wait(5)
                    except subprocess.TimeoutExpired:
                        proc.kill()
                        proc.wait(5)
            self.helpers.clear()
            for folder in self.scratch:
                shutil.rmtree(folder, ignore_errors=True)
            self.scratch.clear()
        # Anything else re-parented to us (apart from the display) goes too.
        for pid in descendants(os.getpid(), include_root=False):
            if pid not in self.helpers:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        time.sleep(0.2)
        reap_orphans(set())

    def note(self, text):
        if text not in self.notes:
            self.notes.append(text)
        print("  ! " + text, flush=True)


# --------------------------------------------------------------------------
# Memory


PAGEMAP_PRESENT = 1 << 63
PAGEMAP_PFN = (1 << 55) - 1


def resident_mappings(pid):
    """(start, end) of every mapping of pid that has resident pages."""
    ranges = []
    start = end = None
    rss = 0
    with open("/proc/%d/smaps" % pid) as f:
        for line in f:
            first = line.split(None, 1)[0]
            if "-" in first and not first.endswith(":"):
                if start is not None and rss > 0:
                    ranges.append((start, end))
                lo, hi = first.split("-")
                start, end, rss = int(lo, 16), int(hi, 16), 0
            elif first == "Rss:":
                rss = int(line.split()[1])
    if start is not None and rss > 0:
        ranges.append((start, end))
    return ranges


def unique_resident_bytes(pids):
    """Distinct physical pages present in any of pids, in bytes."""
    frames = set()
    for pid in pids:
        try:
            ranges = resident_mappings(pid)
            with open("/proc/%d/pagemap" % pid, "rb") as pagemap:
                for start, end in ranges:
                    pagemap.seek(start // PAGE_SIZE * 8)
                    data = pagemap.read((end - start) // PAGE_SIZE * 8)
                    entries = array.array("Q")
                    entries.frombytes(data[:len(data) // 8 * 8])
                    frames.update(e & PAGEMAP_PFN for e in entries if e & PAGEMAP_PRESENT)
        except (FileNotFoundError, ProcessLookupError):
            continue  # the process ended meanwhile
        except PermissionError as error:
            raise BenchError("cannot read the pages of process %d (%s): run as root" % (pid, error))
    if frames and frames == {0}:
        raise BenchError("page frame numbers read as 0: the harness must run as root")
    return len(frames) * PAGE_SIZE


def anonymous_resident_bytes(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("RssAnon:"):
                return int(line.split()[1]) * 1024
    return 0


def tree_memory(runner, proc, settle):
    """(distinct resident bytes of the tree, its process count, the browser
    process's own anonymous resident bytes)."""
    time.sleep(settle)
    pids = [p for p in descendants(proc.pid) if p not in runner.helpers]
    if proc.poll() is not None:
        raise BenchError("the program ended before its memory was read")
    return unique_resident_bytes(pids), len(pids), anonymous_resident_bytes(proc.pid)


def memory_text(memory, count, browser_anon):
    return "%.1f MiB in %d processes (browser process: %.1f MiB anonymous)" % (
        memory / 2**20, count, browser_anon / 2**20)


# --------------------------------------------------------------------------
# Settings


def reg_escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def prepare_quillwave(runner, env, startup_mode, remembered=(), values=()):
    """A fresh settings store: no questions at start or end, the given
    start-up mode, the reference's window size, the remembered tabs
    (first tab first) and any further (name, text) values."""
    lines = ["Windows Registry Editor Version 5.00", "",
             "[%s]" % VALUE_KEY] + ['"%s"="%s"' % (name, reg_escape(text)) for name, text in values] + [
             '"AskDefaultBrowser"="0"',
             '"ConfirmShutdown"="0"',
             '"StartupMode"="%s"' % startup_mode,
             # The reference's window size: the engine's drawing work grows
             # with the area it draws.
             '"Maximized"="0"',
             '"Left"="0"', '"Top"="0"',
             '"Width"="%d"' % WINDOW_SIZE[0], '"Height"="%d"' % WINDOW_SIZE[1], "",
             "[-%s]" % LAST_SITES_KEY, ""]
    if remembered:
        # The program keeps the list last tab first and restores it in
        # reverse: write url N first, url 1 last.
        lines.append("[%s]" % LAST_SITES_KEY)
        for index in range(len(remembered), 0, -1):
            lines.append('"url%d"="%s"' % (index, reg_escape(remembered[index - 1])))
        lines.append("")
    path = os.path.join(env["HOME"], "settings.reg")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    status = runner.run_to_end([runner.binary("quillwave-reg"), "import", path], env, "reg", 30)
    if status != 0:
        raise BenchError("quillwave-reg import failed (status %s)" % status)


# --------------------------------------------------------------------------
# One run of each program


class Trial:
    """One fresh home folder per program run."""

    def __init__(self, runner, server, name):
        self.runner = runner
        self.server = server
        self.home = tempfile.mkdtemp(prefix="qwbench-%s-" % name)
        self.env = runner.fresh_env(self.home)
        self.token = uuid.uuid4().hex[:12]
        self.started = None
        self.timeline_path = os.path.join(self.home, "timeline.txt")
        self.forward_timeline_path = os.path.join(self.home, "forward-timeline.txt")

    def timeline(self, path=None):
        """The phases the program wrote, {phase: ms from its process start},
        the first time of each; empty when it wrote none."""
        phases = {}
        try:
            with open(path or self.timeline_path, encoding="utf-8", errors="replace") as f:
                for line in f:
                    name, _, value = line.rstrip("\n").rpartition(" ")
                    try:
                        phases.setdefault(name, float(value))
                    except ValueError:
                        continue
        except FileNotFoundError:
            pass
        return phases

    def url(self, page_id):
        return self.server.url(self.token, page_id)

    def close(self, keep):
        if not keep:
            shutil.rmtree(self.home, ignore_errors=True)


def launch_quillwave(trial, args, ids, timeout, startup_mode="Last", remembered=(), values=()):
    """Starts Quillwave, waits for the onload of ids; returns (seconds to the
    last onload, proc). trial.started holds the start time."""
    runner = trial.runner
    prepare_quillwave(runner, trial.env, startup_mode, remembered, values)
    # The program's own account of its start-up, read after the run.
    env = dict(trial.env, QUILLWAVE_TIMELINE=trial.timeline_path)
    trial.started = start = time.monotonic()
    proc = runner.start([runner.binary("quillwave")] + args, env, "quillwave")
    loaded = trial.server.wait_loaded(trial.token, ids, timeout, alive=lambda: proc.poll() is None)
    return max(loaded.values()) - start, proc


def launch_bare(trial, urls, ids, timeout, stdin=False):
    runner = trial.runner
    args = [runner.binary("bench_bare_webengine"), "--storage", os.path.join(trial.home, "bare")]
    if stdin:
        args.append("--stdin")
    trial.started = start = time.monotonic()
    proc = runner.start(args + urls, trial.env, "bare",
                        stdin=subprocess.PIPE if stdin else subprocess.DEVNULL)
    loaded = trial.server.wait_loaded(trial.token, ids, timeout, alive=lambda: proc.poll() is None)
    return max(loaded.values()) - start, proc


def watch_forwarding_copy(proc, findings):
    """Samples what the forwarding copy maps and starts while it lives: a
    platform plugin means it started a GUI, a child process the engine, the
    window or engine libraries that it became the browser instead of
    forwarding by itself."""
    seen_plugin = False
    seen_window_libraries = False
    seen_children = set()
    while proc.poll() is None:
        try:
            with open("/proc/%d/maps" % proc.pid) as f:
                maps = f.read()
            if "/platforms/libq" in maps or "libQt6XcbQpa" in maps:
                seen_plugin = True
            if "libQt6Widgets" in maps or "libQt6WebEngine" in maps:
                seen_window_libraries = True
            for task in os.listdir("/proc/%d/task" % proc.pid):
                with open("/proc/%d/task/%s/children" % (proc.pid, task)) as f:
                    for child in f.read().split():
                        seen_children.add(process_name(int(child)))
        except OSError:
            pass
        time.sleep(0.001)
    findings["platform_plugin"] = seen_plugin
    findings["window_libraries"] = seen_window_libraries
    findings["children"] = seen_children


def forward(trial, page_id, timeout, watch=False):
    """Hands page_id to the running copy from a second copy; returns
    (seconds to the page's onload, seconds the second copy lived, findings).
    watch samples the copy while it runs and asks Qt to log the plugins it
    loads; it costs time, so timed runs go without it."""
    runner = trial.runner
    findings = {}
    env = dict(trial.env)
    if watch:
        env["QT_DEBUG_PLUGINS"] = "1"
    else:
        env["QUILLWAVE_TIMELINE"] = trial.forward_timeline_path
    start = time.monotonic()
    proc = runner.start([runner.binary("quillwave"), trial.url(page_id)], env, "forward")
    watcher = None
    if watch:
        watcher = threading.Thread(target=watch_forwarding_copy, args=(proc, findings), daemon=True)
        watcher.start()
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        runner.stop(proc, graceful=False)
        raise BenchError("the forwarding copy did not end within %ds" % timeout)
    lifetime = time.monotonic() - start
    findings["status"] = proc.returncode
    if watcher:
        watcher.join(5)
        with open(proc.log_path, errors="replace") as f:
            log_text = f.read()
        findings["plugin_log"] = "/platforms" in log_text
    loaded = trial.server.wait_loaded(trial.token, [page_id], timeout)
    return loaded[page_id] - start, lifetime, findings


def check_forwarding_copy(runner, findings):
    if findings["status"] != 0:
        runner.note("a forwarding copy ended with status %s" % findings["status"])
    if findings.get("platform_plugin") or findings.get("plugin_log"):
        runner.note("a forwarding copy loaded a Qt platform plugin or the engine (it started a GUI)")
    if findings.get("window_libraries"):
        runner.note("a forwarding copy loaded the window or engine libraries (it did not forward "
                    "by itself)")
    if findings.get("children"):
        runner.note("a forwarding copy started processes: %s" % ", ".join(sorted(findings["children"])))


def bare_new_tab(trial, bare, page_id, timeout):
    """The reference for a forwarded address: a Qt Core program starts and
    ends, then the running reference opens the address in a new tab."""
    runner = trial.runner
    start = time.monotonic()
    status = runner.run_to_end([runner.binary("bench_minimal_qtcore")], trial.env, "minimal", timeout)
    if status != 0:
        raise BenchError("bench_minimal_qtcore ended with status %s" % status)
    bare.stdin.write((trial.url(page_id) + "\n").encode())
    bare.stdin.flush()
    loaded = trial.server.wait_loaded(trial.token, [page_id], timeout, alive=lambda: bare.poll() is None)
    return loaded[page_id] - start


# --------------------------------------------------------------------------
# Measures


class Results:
    def __init__(self):
        self.rows = []  # (measure, unit, quillwave samples, reference samples, goal, what the reference is)
        self.timelines = {}  # measure -> [{phase: ms}] of Quillwave's runs

    def add(self, measure, unit, qw, ref, goal, reference):
        self.rows.append((measure, unit, qw, ref, goal, reference))

    def add_timeline(self, measure, trial, seen, path=None):
        """Keeps the program's timeline of one run, with what the harness
        saw (seen: {label: seconds from the start})."""
        phases = trial.timeline(path)
        for label, seconds in seen.items():
            phases["(harness) " + label] = seconds * 1000
        if phases:
            self.timelines.setdefault(measure, []).append(phases)


def alternate(runs, first, second):
    """Runs the pair runs times, swapping their order every time."""
    for i in range(runs):
        pair = (first, second) if i % 2 == 0 else (second, first)
        for step in pair:
            step(i)


def with_trial(runner, server, name, keep, body):
    trial = Trial(runner, server, name)
    try:
        return body(trial)
    except BenchError as error:
        raise BenchError("%s (home kept: %s)" % (error, trial.home)) from None
    finally:
        trial.close(keep)


def measure_launch(runner, server, args, results):
    qw, ref, qw_request, ref_request = [], [], [], []

    def one_run(name, launch, onloads, requests, record):
        def body(trial):
            seconds, proc = launch(trial)
            runner.stop(proc, label="%s (launch)" % name)
            requested = server.requested(trial.token, 1) - trial.started
            if record:
                onloads.append(seconds)
                requests.append(requested)
                if name == "quillwave":
                    results.add_timeline("launch to onload", trial,
                                         {"page requested": requested, "onload reported": seconds})
            log("launch " + name, seconds, "(page requested after %.3f s)" % requested)
        with_trial(runner, server, "launch-" + name, args.keep, body)

    def quillwave_run(i, record=True):
        one_run("quillwave", lambda t: launch_quillwave(t, [t.url(1)], [1], args.timeout),
                qw, qw_request, record)

    def bare_run(i, record=True):
        one_run("reference", lambda t: launch_bare(t, [t.url(1)], [1], args.timeout),
                ref, ref_request, record)

    # One unrecorded run each first: the libraries come into the file cache.
    quillwave_run(0, record=False)
    bare_run(0, record=False)
    alternate(args.runs, quillwave_run, bare_run)
    results.add("launch to onload", "s", qw, ref, 1.15, "bare QWebEngineView program")
    results.add("  of which: to page request", "s", qw_request, ref_request, None,
                "the same runs: start to the page's HTTP request (for reading only)")


def measure_forward(runner, server, args, results):
    to_onload, lifetime, ref_onload, ref_life = [], [], [], []

    def quillwave_run(i):
        def body(trial):
            _, proc = launch_quillwave(trial, [trial.url(1)], [1], args.timeout)
            time.sleep(args.settle)
            seconds, lived, findings = forward(trial, 2, args.timeout)
            runner.stop(proc, label="quillwave (forward)")
            results.add_timeline("forwarding copy", trial, {"ended": lived},
                                 trial.forward_timeline_path)
            to_onload.append(seconds)
            lifetime.append(lived)
            log("forward quillwave", seconds, "copy lived %.3f s" % lived)
            check_forwarding_copy(runner, findings)
        with_trial(runner, server, "forward-qw", args.keep, body)

    def bare_run(i):
        def body(trial):
            _, proc = launch_bare(trial, [trial.url(1)], [1], args.timeout, stdin=True)
            time.sleep(args.settle)
            seconds = bare_new_tab(trial, proc, 2, args.timeout)
            start = time.monotonic()
            runner.run_to_end([runner.binary("bench_minimal_qtcore")], trial.env, "minimal", args.timeout)
            lived = time.monotonic() - start
            runner.stop(proc, label="reference (forward)")
            ref_onload.append(seconds)
            ref_life.append(lived)
            log("forward reference", seconds, "Qt Core program lived %.3f s" % lived)
        with_trial(runner, server, "forward-bare", args.keep, body)

    alternate(args.runs, quillwave_run, bare_run)
    results.add("forward: 2nd start to onload", "s", to_onload, ref_onload, 3.0,
                "Qt Core start+exit, then new tab in running reference")
    results.add("forward: 2nd copy lifetime", "s", lifetime, ref_life, 3.0,
                "QCoreApplication start+exit")


def measure_memory_10(runner, server, args, results):
    qw, ref = [], []
    ids = list(range(1, 11))

    def quillwave_run(i):
        def body(trial):
            _, proc = launch_quillwave(trial, [trial.url(1)], [1], args.timeout)
            for page_id in ids[1:]:
                _, _, findings = forward(trial, page_id, args.timeout, watch=True)
                check_forwarding_copy(runner, findings)
            server.wait_loaded(trial.token, ids, args.timeout, alive=lambda: proc.poll() is None)
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="quillwave (10 tabs)")
            qw.append(memory)
            log("mem-10 quillwave", memory / 2**20, memory_text(memory, count, anon), unit="MiB")
        with_trial(runner, server, "mem10-qw", args.keep, body)

    def bare_run(i):
        def body(trial):
            _, proc = launch_bare(trial, [trial.url(1)], [1], args.timeout, stdin=True)
            for page_id in ids[1:]:
                proc.stdin.write((trial.url(page_id) + "\n").encode())
                proc.stdin.flush()
                server.wait_loaded(trial.token, [page_id], args.timeout, alive=lambda: proc.poll() is None)
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="reference (10 views)")
            ref.append(memory)
            log("mem-10 reference", memory / 2**20, memory_text(memory, count, anon), unit="MiB")
        with_trial(runner, server, "mem10-bare", args.keep, body)

    alternate(args.runs, quillwave_run, bare_run)
    results.add("memory, 10 tabs", "MiB", [m / 2**20 for m in qw], [m / 2**20 for m in ref], 1.1,
                "10 views, 9 of them handed over stdin")


def measure_restore_30(runner, server, args, results):
    qw_time, ref_time, qw_mem, ref_mem = [], [], [], []
    ids = list(range(1, 31))

    def quillwave_run(i):
        def body(trial):
            urls = [trial.url(p) for p in ids]
            seconds, proc = launch_quillwave(trial, [], ids, args.timeout * 3, remembered=urls)
            first = server.requested(trial.token, 1)
            results.add_timeline("restore 30 tabs", trial,
                                 {"first page requested": first - trial.started,
                                  "last onload reported": seconds})
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="quillwave (30 tabs)")
            qw_time.append(seconds)
            qw_mem.append(memory / 2**20)
            log("restore-30 quillwave", seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "restore-qw", args.keep, body)

    def bare_run(i):
        def body(trial):
            urls = [trial.url(p) for p in ids]
            seconds, proc = launch_bare(trial, urls, ids, args.timeout * 3)
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="reference (30 views)")
            ref_time.append(seconds)
            ref_mem.append(memory / 2**20)
            log("restore-30 reference", seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "restore-bare", args.keep, body)

    alternate(args.runs, quillwave_run, bare_run)
    results.add("restore 30 tabs to last onload", "s", qw_time, ref_time, 1.15, "30 views")
    results.add("memory after restoring 30", "MiB", qw_mem, ref_mem, 1.1, "30 views")


def write_group(path, urls):
    """A saved group of urls in tab order, as the program writes one."""
    lines = ["[VostelGroup]"] + ["page%d=%s" % (n, url) for n, url in enumerate(urls, 1)]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def measure_group_30(runner, server, args, results):
    qw_time, ref_time, qw_mem, ref_mem = [], [], [], []
    ids = list(range(1, 31))

    def quillwave_run(i):
        def body(trial):
            group = os.path.join(trial.home, "work.vgp")
            write_group(group, [trial.url(p) for p in ids])
            seconds, proc = launch_quillwave(trial, [group], ids, args.timeout * 3)
            results.add_timeline("open a group of 30", trial,
                                 {"first page requested": server.requested(trial.token, 1) - trial.started,
                                  "last onload reported": seconds})
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="quillwave (group of 30)")
            qw_time.append(seconds)
            qw_mem.append(memory / 2**20)
            log("group-30 quillwave", seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "group-qw", args.keep, body)

    def bare_run(i):
        def body(trial):
            seconds, proc = launch_bare(trial, [trial.url(p) for p in ids], ids, args.timeout * 3)
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="reference (30 views)")
            ref_time.append(seconds)
            ref_mem.append(memory / 2**20)
            log("group-30 reference", seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "group-bare", args.keep, body)

    alternate(args.runs, quillwave_run, bare_run)
    results.add("open a group of 30 to last onload", "s", qw_time, ref_time, 1.15, "30 views")
    results.add("memory after a group of 30", "MiB", qw_mem, ref_mem, 1.1, "30 views")


def xdotool(runner, env, *words):
    status = runner.run_to_end(["xdotool"] + list(words), env, "xdotool", 10)
    if status != 0:
        raise BenchError("xdotool %s ended with status %s" % (" ".join(words), status))


def show_and_new_tab(trial, proc, other, show_key, new_id, timeout):
    """Seconds from the key that shows tab other (waiting to load) to its
    onload, and from Return in a new tab's address box to that page's
    onload."""
    runner, server = trial.runner, trial.server
    alive = lambda: proc.poll() is None
    start = time.monotonic()
    xdotool(runner, trial.env, "key", show_key)
    shown = server.wait_loaded(trial.token, [other], timeout, alive=alive)[other] - start
    xdotool(runner, trial.env, "key", "ctrl+n")
    # The new tab and its address box are there before the address is typed.
    time.sleep(1.0)
    xdotool(runner, trial.env, "type", "--delay", "1", trial.url(new_id))
    start = time.monotonic()
    xdotool(runner, trial.env, "key", "Return")
    fresh = server.wait_loaded(trial.token, [new_id], timeout, alive=alive)[new_id] - start
    return shown, fresh


def measure_on_show_100(runner, server, args, results, kind):
    """100 tabs that load when shown, from a group or the last session,
    against a one-page start of the same program: start to the front
    page's onload, and memory after it."""
    qw_time, ref_time, qw_mem, ref_mem, asked, shown, fresh = [], [], [], [], [], [], []
    ids = list(range(1, 101))
    front = 1 if kind == "group" else 100  # the group's first tab; the last restored
    other, show_key = (2, "ctrl+Tab") if kind == "group" else (99, "ctrl+shift+Tab")
    keys = args.platform != "offscreen"
    on_show = [("LoadTabsOnShow", "1")]

    def quillwave_run(i):
        def body(trial):
            urls = [trial.url(p) for p in ids]
            if kind == "group":
                group = os.path.join(trial.home, "work.vgp")
                write_group(group, urls)
                seconds, proc = launch_quillwave(trial, [group], [front], args.timeout, values=on_show)
            else:
                seconds, proc = launch_quillwave(trial, [], [front], args.timeout, remembered=urls,
                                                 values=on_show)
            results.add_timeline("%s of 100, loading on show" % kind, trial,
                                 {"front page requested": server.requested(trial.token, front) - trial.started,
                                  "front onload reported": seconds})
            memory, count, anon = tree_memory(runner, proc, args.settle)
            requested = [p for p in ids if server.requested(trial.token, p) is not None]
            if keys:
                show_seconds, fresh_seconds = show_and_new_tab(trial, proc, other, show_key, 1000,
                                                               args.timeout)
                shown.append(show_seconds)
                fresh.append(fresh_seconds)
                log("%s-100 show / new" % kind, show_seconds, "new tab %.3f s" % fresh_seconds)
            runner.stop(proc, label="quillwave (%s of 100)" % kind)
            if requested != [front]:
                runner.note("%s of 100: pages requested %s, not only the front one" % (kind, requested))
            qw_time.append(seconds)
            qw_mem.append(memory / 2**20)
            asked.append(len(requested))
            log("%s-100 quillwave" % kind, seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "%s100-qw" % kind, args.keep, body)

    def one_page_run(i):
        def body(trial):
            seconds, proc = launch_quillwave(trial, [trial.url(front)], [front], args.timeout,
                                             values=on_show)
            memory, count, anon = tree_memory(runner, proc, args.settle)
            runner.stop(proc, label="quillwave (one page)")
            ref_time.append(seconds)
            ref_mem.append(memory / 2**20)
            log("one-page quillwave", seconds, memory_text(memory, count, anon))
        with_trial(runner, server, "%s100-one" % kind, args.keep, body)

    alternate(args.runs, quillwave_run, one_page_run)
    what = "open a group of 100" if kind == "group" else "restore 100 tabs"
    results.add("%s, to front onload" % what, "s", qw_time, ref_time, 1.15,
                "Quillwave starting with one page (LoadTabsOnShow on)")
    results.add("memory after %s" % what.split(" ", 1)[1], "MiB", qw_mem, ref_mem, 1.25,
                "Quillwave after starting with one page")
    results.add("  pages requested (%s)" % kind, "n", asked, [1] * len(asked), None,
                "the one-page start's one page")
    if keys:
        results.add("show a waiting tab (%s)" % kind, "s", shown, fresh, 1.15,
                    "a new tab loading an address in the same run")


def measure_group_100(runner, server, args, results):
    measure_on_show_100(runner, server, args, results, "group")


def measure_restore_100(runner, server, args, results):
    measure_on_show_100(runner, server, args, results, "restore")


def log(what, value, extra="", unit="s"):
    print("  %-22s %9.3f %-3s %s" % (what, value, unit, extra), flush=True)


# --------------------------------------------------------------------------
# Display


def start_xvfb(runner):
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        raise BenchError("Xvfb is not installed (apt-get install xvfb)")
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen([xvfb, "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_fd)
    runner.helpers.add(proc.pid)
    runner.procs.append(proc)
    deadline = time.monotonic() + 15
    number = b""
    while time.monotonic() < deadline and not number.endswith(b"\n"):
        ready, _, _ = select.select([read_fd], [], [], 0.5)
        if ready:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_fd)
    if not number.strip():
        raise BenchError("Xvfb did not start")
    return {"DISPLAY": ":" + number.decode().strip(), "QT_QPA_PLATFORM": "xcb"}, proc


def start_window_manager(runner, display_env):
    """Openbox on the harness's own display; returns once it manages the
    screen (it has named itself on the root window), as a desktop would be
    before a person starts a program."""
    openbox = shutil.which("openbox")
    if not openbox:
        raise BenchError("openbox is not installed (scripts/install-deps.sh installs it)")
    xprop = shutil.which("xprop")
    if not xprop:
        raise BenchError("xprop is not installed (apt-get install x11-utils)")
    home = tempfile.mkdtemp(prefix="qwbench-wm-")
    env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_"))}
    env.update(display_env)
    env.update({"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config")})
    proc = subprocess.Popen([openbox, "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True, cwd=home)
    runner.helpers.add(proc.pid)
    runner.procs.append(proc)
    runner.scratch.append(home)
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        if proc.poll() is not None:
            raise BenchError("openbox ended at once (status %s)" % proc.returncode)
        check = subprocess.run([xprop, "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if "window id #" in check.stdout:
            return proc
        time.sleep(0.05)
    raise BenchError("openbox did not take the display within 15 s")


def choose_platform(runner, server, args):
    """The display the programs run on: a private Xvfb with a window manager
    (where users are), one without, or Qt's offscreen platform."""
    if args.platform == "offscreen":
        runner.platform_env = {"QT_QPA_PLATFORM": "offscreen"}
        trial = Trial(runner, server, "probe")
        try:
            _, proc = launch_bare(trial, [trial.url(1)], [1], 60)
            runner.stop(proc)
        except BenchError as error:
            raise BenchError("the engine does not load pages on the offscreen platform here (%s)"
                             % error) from None
        finally:
            trial.close(args.keep)
        return "offscreen"
    env, _ = start_xvfb(runner)
    runner.platform_env = env
    if args.platform == "xvfb":
        return "xvfb %s, no window manager" % env["DISPLAY"]
    start_window_manager(runner, env)
    return "xvfb %s with openbox" % env["DISPLAY"]


def print_table(results, platform, runs):
    print()
    print("Medians of %d runs each (platform: %s; %d cores, load average %.2f at the end)"
          % (runs, platform, os.cpu_count(), os.getloadavg()[0]))
    header = "%-32s %12s %12s %7s %6s  %s" % ("measure", "quillwave", "reference", "ratio", "goal", "")
    print(header)
    print("-" * len(header))
    for measure, unit, qw, ref, goal, reference in results.rows:
        goal_text = "%5.2fx" % goal if goal else "%6s" % "-"
        if not qw or not ref:
            print("%-32s %12s %12s %7s %s  no data" % (measure, "-", "-", "-", goal_text))
            continue
        a, b = statistics.median(qw), statistics.median(ref)
        ratio = a / b if b else float("inf")
        fmt = "%.3f %s" if unit == "s" else "%.1f %s"
        verdict = "" if not goal else "met" if ratio <= goal else "MISSED"
        print("%-32s %12s %12s %6.2fx %s  %s" % (measure, fmt % (a, unit), fmt % (b, unit),
                                                 ratio, goal_text, verdict))
    print_timelines(results)
    print()
    print("References:")
    for measure, _, qw, ref, _, reference in results.rows:
        print("  %-30s %s" % (measure.strip(), reference))
    print("Samples:")
    for measure, unit, qw, ref, _, _ in results.rows:
        print("  %-30s quillwave %s | reference %s" % (measure.strip(), " ".join("%.3f" % v for v in qw),
                                                      " ".join("%.3f" % v for v in ref)))


def print_timelines(results):
    """Quillwave's start-up phases, median ms from its process start over
    the runs, in the order they happened."""
    for measure, runs in results.timelines.items():
        phases = {}
        for run in runs:
            for name, ms in run.items():
                phases.setdefault(name, []).append(ms)
        print()
        print("Timeline of Quillwave, %s (median ms from process start, %d runs):" % (measure, len(runs)))
        for name, values in sorted(phases.items(), key=lambda item: statistics.median(item[1])):
            runs_text = "" if len(values) == len(runs) else "  (%d of %d runs)" % (len(values), len(runs))
            print("  %-34s %8.0f%s" % (name, statistics.median(values), runs_text))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="./build", help="build folder holding bin/ (default ./build)")
    parser.add_argument("--runs", type=int, default=3, help="runs of each program per measure (default 3)")
    parser.add_argument("--only", default="a,b,c,d,e,f,g",
                        help="comma-separated measures: a launch, b forward, c memory 10, d restore 30, "
                             "e group of 30, f group of 100 loading on show, g restore of 100 loading "
                             "on show")
    parser.add_argument("--platform", choices=("xvfb-wm", "xvfb", "offscreen"), default="xvfb-wm",
                        help="xvfb-wm: a private Xvfb with openbox, as on a desktop (default); "
                        "xvfb: the same without a window manager; offscreen: Qt's offscreen platform")
    parser.add_argument("--timeout", type=int, default=60, help="seconds to wait for one page (default 60)")
    parser.add_argument("--settle", type=float, default=3.0,
                        help="seconds to let a program settle before memory is read (default 3)")
    parser.add_argument("--keep", action="store_true", help="keep each run's home folder and logs")
    args = parser.parse_args()

    if os.geteuid() != 0:
        print("warning: not root; the memory measures need root to read page frame numbers",
              file=sys.stderr)
    become_subreaper()
    runner = Runner(os.path.abspath(args.build), {})
    for name in ("quillwave", "quillwave-browser", "quillwave-reg", "bench_bare_webengine",
                 "bench_minimal_qtcore"):
        runner.binary(name)
    server = PageServer()
    results = Results()
    measures = {"a": measure_launch, "b": measure_forward, "c": measure_memory_10, "d": measure_restore_30,
                "e": measure_group_30, "f": measure_group_100, "g": measure_restore_100}
    wanted = [m.strip() for m in args.only.split(",") if m.strip()]
    failed = False

    def on_signal(number, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, on_signal)
    try:
        platform = choose_platform(runner, server, args)
        print("platform: %s; pages from http://127.0.0.1:%d/" % (platform, server.port), flush=True)
        for key in wanted:
            if key not in measures:
                raise BenchError("unknown measure %r" % key)
            print("[%s] %s" % (key, measures[key].__name__), flush=True)
            try:
                measures[key](runner, server, args, results)
            except BenchError as error:
                failed = True
                runner.note("measure %s failed: %s" % (key, error))
                runner.cleanup()
        print_table(results, platform, args.runs)
    except (BenchError, KeyboardInterrupt) as error:
        failed = True
        print("stopped: %s" % (str(error) or "interrupted"), file=sys.stderr)
    finally:
        runner.cleanup(final=True)
        server.close()
    if runner.notes:
        print("Findings:")
        for text in runner.notes:
            print("  - " + text)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
