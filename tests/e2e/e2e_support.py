"""Shared machinery of the end-to-end tests.

The tests start the real program (Project2.exe) under Wine in a prefix of their
own, on the display that scripts/test.sh provides, and watch it from outside:

* the program's +ieframe trace (its stderr) tells what it asks the WebBrowser
  controls to do (Navigate, the Silent property);
* recorder.exe, which the prefix names as the "http"/"https" open command,
  writes down every web address that the program hands to the shell;
* probe.exe, a Windows program in the same prefix, reads the windows, the tree
  and the focus, posts messages, launches with a show command and answers
  message boxes;
* xdotool clicks and types as a user would, and ImageMagick's import takes
  screenshots.

Every wait has a time-out, and every program run ends (closed, or killed).
"""

import json
import os
import queue
import re
import shutil
import subprocess
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.environ.get("STUDYGUIDE_E2E_ROOT") or os.path.dirname(os.path.dirname(HERE))


def _default_build():
    for arch in ("win64", "win32"):
        candidate = os.path.join(ROOT, "build", arch)
        if os.path.isdir(os.path.join(candidate, "dist")):
            return candidate
    return os.path.join(ROOT, "build", "win64")


BUILD = os.environ.get("STUDYGUIDE_E2E_BUILD") or _default_build()
DIST = os.environ.get("STUDYGUIDE_E2E_DIST") or os.path.join(BUILD, "dist")
PROBE = os.environ.get("STUDYGUIDE_E2E_PROBE") or os.path.join(BUILD, "tests", "probe.exe")
RECORDER = os.environ.get("STUDYGUIDE_E2E_RECORDER") or os.path.join(BUILD, "tests", "recorder.exe")
WORK = os.environ.get("STUDYGUIDE_E2E_WORK") or os.path.join(BUILD, "e2e")
SCREENS = os.environ.get("STUDYGUIDE_E2E_SCREENS") or os.path.join(BUILD, "e2e-screens")
PREFIX = os.path.join(WORK, "prefix")
READY = os.path.join(PREFIX, ".e2e-ready")

# Inside the prefix: C:\e2e holds the recorder and one folder per program run.
# Short Windows paths keep Wine's trace lines whole (it cuts a traced string
# after about 290 characters).
E2E_WIN = "C:\\e2e"
RECORDER_WIN = E2E_WIN + "\\recorder.exe"

# The program's fixed addresses (src/ui/links.h).
HOME_PAGE = "http://www.mirelto.example"
ORDERING_THREAD = "http://www.mirelto.example/forum.php?mod=viewthread&tid=2389"
FORUM_BOARD = "http://www.mirelto.example/forum.php?mod=forumdisplay&fid=132"
CONSULTATION = "http://go.mirelto-link.example/?c=zx2016"
COUNT_ADDRESS = "http://count.mirelto.example/count/softcount/?期货从业资格"

GUIDE_PAGE = "data\\报考指南.htm"
COURSE_PAGE = "data\\课程资料.htm"
CONTACT_PAGE = "data\\联系我们.htm"

# VT_ERROR with DISP_E_PARAMNOTFOUND: how a missing optional argument is passed.
MISSING = ("VT_ERROR", "80020004")

WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
IDOK = 1

PARKED_POINTER = (800, 600)  # a screen point over the page area of the main window
TIMEOUT = 20.0  # seconds for anything the program should do at once


def log(message):
    print("[e2e] " + message, flush=True)


# ---------------------------------------------------------------------------
# Wine environment and prefix

_env_cache = None


def wine_env():
    """The environment for Wine in the tests' prefix, from scripts/wine-env.sh."""
    global _env_cache
    if _env_cache is None:
        env = dict(os.environ)
        env["STUDYGUIDE_WINEPREFIX"] = PREFIX
        env.pop("WINEPREFIX", None)
        env.pop("WINEDEBUG", None)
        env.pop("WINEDLLOVERRIDES", None)
        if "STUDYGUIDE_E2E_ARCH" in os.environ:
            env["STUDYGUIDE_ARCH"] = os.environ["STUDYGUIDE_E2E_ARCH"]
        script = 'source "$1/scripts/wine-env.sh" && studyguide_wine_env && env -0'
        out = subprocess.run(["bash", "-c", script, "bash", ROOT], env=env, check=True,
                             stdout=subprocess.PIPE, timeout=60).stdout
        result = {}
        for item in out.split(b"\0"):
            if b"=" in item:
                key, value = item.split(b"=", 1)
                result[key.decode()] = value.decode(errors="replace")
        _env_cache = result
    return dict(_env_cache)


def wine_loader():
    return wine_env()["STUDYGUIDE_WINE"]


def wineserver():
    loader = wine_loader()
    candidate = os.path.join(os.path.dirname(loader), "wineserver")
    return candidate if os.path.exists(candidate) else "wineserver"


def kill_wineserver():
    """Ends every process of the tests' prefix (and only of that prefix)."""
    subprocess.run([wineserver(), "-k"], env=wine_env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=30)


def drive_c(*parts):
    return os.path.join(PREFIX, "drive_c", *parts)


def unix_path(windows_path):
    """The Unix path of a C:\\ path in the prefix."""
    assert windows_path[:3].upper() == "C:\\", windows_path
    return drive_c(*windows_path[3:].split("\\"))


def prepare_prefix():
    """Makes a fresh prefix: scripts/wine-env.sh's set-up (wineboot, no Gecko
    prompt, Chinese fonts), then the recorder as the web browser and no
    debugger on a crash (a crash ends the process with its exception code)."""
    start = time.monotonic()
    if os.path.isdir(PREFIX):
        kill_wineserver()
        shutil.rmtree(PREFIX)
    os.makedirs(PREFIX)
    env = wine_env()
    script = 'source "$1/scripts/wine-env.sh" && studyguide_wine_env && studyguide_wine_prefix'
    subprocess.run(["bash", "-c", script, "bash", ROOT], env=dict(env, STUDYGUIDE_WINEPREFIX=PREFIX),
                   check=True, timeout=240, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.makedirs(drive_c("e2e", "runs"), exist_ok=True)
    shutil.copy2(RECORDER, unix_path(RECORDER_WIN))
    command = '"%s" "%%1"' % RECORDER_WIN
    settings = [
        ["HKCR\\http\\shell\\open\\command", "/ve", "/d", command],
        ["HKCR\\https\\shell\\open\\command", "/ve", "/d", command],
        # Wine starts winedbg on an unhandled exception, which waits for ever
        # without a console; a debugger that cannot start lets the process end.
        ["HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "/v", "Debugger", "/d",
         E2E_WIN + "\\no-debugger.exe %ld %ld"],
    ]
    quiet = dict(env, WINEDEBUG="-all")
    for setting in settings:
        subprocess.run([wine_loader(), "reg", "add", setting[0]] + setting[1:] + ["/f"], env=quiet,
                       check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The registry reaches the disk when the server ends.
    try:
        subprocess.run([wineserver(), "-w"], env=quiet, timeout=60)
    except subprocess.TimeoutExpired:
        kill_wineserver()
    with open(READY, "w") as marker:
        marker.write(RECORDER_WIN + "\n")
    log("fresh Wine prefix %s made in %.1f s" % (PREFIX, time.monotonic() - start))


_prefix_checked = False


def ensure_prefix():
    """The prefix for this run: made fresh once per test process, unless the
    CTest fixture (e2e_prefix) already made it for this run."""
    global _prefix_checked
    if _prefix_checked:
        return
    if not os.environ.get("DISPLAY"):
        raise RuntimeError("no DISPLAY: run the end-to-end tests through scripts/test.sh")
    for path in (DIST, PROBE, RECORDER):
        if not os.path.exists(path):
            raise RuntimeError("missing %s: build first (scripts/build.sh)" % path)
    if not (os.environ.get("STUDYGUIDE_E2E_PREFIX_MADE") and os.path.exists(READY)):
        prepare_prefix()
    _prefix_checked = True


# ---------------------------------------------------------------------------
# The probe

class ProbeError(Exception):
    pass


class Probe:
    """probe.exe in serve mode: one command a line, one JSON answer a line."""

    def __init__(self):
        self.process = None
        self.answers = queue.Queue()

    def _start(self):
        env = wine_env()
        env["WINEDEBUG"] = "-all"
        os.makedirs(WORK, exist_ok=True)
        self.errors = open(os.path.join(WORK, "probe-stderr.txt"), "ab")
        self.process = subprocess.Popen([wine_loader(), PROBE, "serve"], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.errors)
        self.answers = queue.Queue()
        stdout = self.process.stdout

        def read():
            for line in stdout:
                self.answers.put(line)
            self.answers.put(None)

        threading.Thread(target=read, daemon=True).start()

    def __call__(self, *args, timeout=15.0):
        if self.process is None or self.process.poll() is not None:
            self._start()
        line = "\t".join(str(a) for a in args) + "\n"
        try:
            self.process.stdin.write(line.encode("utf-8"))
            self.process.stdin.flush()
        except BrokenPipeError:
            self.close()
            raise ProbeError("probe ended")
        try:
            answer = self.answers.get(timeout=timeout)
        except queue.Empty:
            self.close()
            raise ProbeError("probe did not answer %r in %.0f s" % (args, timeout))
        if answer is None:
            self.close()
            raise ProbeError("probe ended while answering %r" % (args,))
        result = json.loads(answer.decode("utf-8"))
        if "error" in result:
            raise ProbeError("probe %r: %s" % (args, result["error"]))
        return result

    def close(self):
        if self.process is None:
            return
        try:
            if self.process.poll() is None:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait(timeout=5)
        for stream in (self.process.stdin, self.process.stdout, self.errors):
            try:
                stream.close()
            except OSError:
                pass
        self.process = None

    # Conveniences over the commands.
    def top(self, class_name="", title=None):
        args = ["top", class_name] + ([title] if title is not None else [])
        return self(*args)["windows"]

    def children(self, hwnd):
        return self("children", hwnd)["windows"]

    def tree(self, hwnd):
        return self("tree", hwnd)

    def focus(self, hwnd):
        return self("gui", hwnd)["focus"]


def wait_until(condition, timeout=TIMEOUT, interval=0.05, what="the condition"):
    """Calls condition() until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


# ---------------------------------------------------------------------------
# The +ieframe trace

_STRING = r'L"((?:[^"\\]|\\.)*)"(\.\.\.)?'
_NAVIGATE = re.compile(r"trace:ieframe:WebBrowser_(Navigate2?) \(([0-9A-Fa-f]+)\)->\(" + _STRING + r"(.*)\)\s*$")
_SILENT = re.compile(r"trace:ieframe:WebBrowser_put_Silent \(([0-9A-Fa-f]+)\)->\(([0-9A-Fa-f]+)\)")
_VARIANT = re.compile(r"\{(VT_[A-Z0-9_|]+)(?:: ([^}]*))?\}")


def decode_wine_string(text):
    """Reverses Wine's debugstr_w: \\\\, \\", \\n, \\r, \\t and \\XXXX (4 hex digits)."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        nxt = text[i + 1]
        if nxt in "\\\"":
            out.append(nxt)
            i += 2
        elif nxt in "nrt":
            out.append({"n": "\n", "r": "\r", "t": "\t"}[nxt])
            i += 2
        else:
            out.append(chr(int(text[i + 1:i + 5], 16)))
            i += 5
    return "".join(out)


class Event:
    def __init__(self, kind, browser, value, args=(), line=""):
        self.kind = kind          # "navigate" or "silent"
        self.browser = browser    # the control's object address
        self.value = value        # the address, or the Silent value as traced
        self.args = list(args)    # the other arguments of Navigate: (type, value)
        self.line = line

    def __repr__(self):
        return "%s(%s, %r)" % (self.kind, self.browser, self.value)


class Trace:
    """The WebBrowser calls that the program made, read from its stderr file."""

    def __init__(self, path):
        self.path = path

    def text(self):
        with open(self.path, "rb") as f:
            return f.read().decode("utf-8", errors="replace")

    def events(self):
        events = []
        for line in self.text().splitlines():
            m = _NAVIGATE.search(line)
            if m:
                if m.group(4):
                    raise AssertionError("Wine cut the traced address (shorten the folder): " + line)
                events.append(Event("navigate", m.group(2), decode_wine_string(m.group(3)),
                                    _VARIANT.findall(m.group(5)), line))
                continue
            m = _SILENT.search(line)
            if m:
                events.append(Event("silent", m.group(1), m.group(2), (), line))
        return events

    def navigations(self, browser=None):
        return [e for e in self.events() if e.kind == "navigate" and (browser is None or e.browser == browser)]

    def wait_navigations(self, count, browser=None, timeout=TIMEOUT):
        return wait_until(lambda: len(self.navigations(browser)) >= count and self.navigations(browser),
                          timeout, what="%d Navigate calls in %s" % (count, self.path))


# ---------------------------------------------------------------------------
# The recorder's file

_RECORD = re.compile(r'^"(?P<exe>[^"]*)" "(?P<url>[^"]*)"\s*$')


class Record:
    """The web addresses that the program opened through the shell."""

    def __init__(self, windows_path):
        self.windows_path = windows_path
        self.path = unix_path(windows_path)

    def lines(self):
        try:
            with open(self.path, "rb") as f:
                return f.read().decode("utf-8").splitlines()
        except FileNotFoundError:
            return []

    def urls(self):
        urls = []
        for line in self.lines():
            m = _RECORD.match(line)
            if not m or m.group("exe").lower() != RECORDER_WIN.lower():
                raise AssertionError("unexpected recorder line %r" % line)
            urls.append(m.group("url"))
        return urls

    def wait_count(self, count, timeout=TIMEOUT):
        return wait_until(lambda: len(self.urls()) >= count and self.urls(), timeout,
                          what="%d shell opens in %s (have %r)" % (count, self.path, self.urls()))


def wait_recorders_done(probe, timeout=TIMEOUT):
    """Waits until no recorder.exe runs: every shell open made so far is written."""
    wait_until(lambda: not probe("procs", "recorder.exe")["pids"], timeout, what="the recorders to finish")


# ---------------------------------------------------------------------------
# The program

_run_counter = [0]


class Program:
    """One run of Project2.exe from a copy of the program folder in the prefix.

    folder_name: the name of the copied folder (spaces, "#", "%" welcome);
    with_data: whether the copy has its data folder; kc: the text of kc.dll
    (None: the shipped one); dll_overrides: added to WINEDLLOVERRIDES."""

    def __init__(self, case, name, folder_name="app", with_data=True, kc=None, dll_overrides=None):
        _run_counter[0] += 1
        self.case = case
        self.run_win = "%s\\runs\\%02d-%s" % (E2E_WIN, _run_counter[0], name)
        self.folder_win = self.run_win + "\\" + folder_name
        self.folder = unix_path(self.folder_win)
        if os.path.exists(unix_path(self.run_win)):
            shutil.rmtree(unix_path(self.run_win))
        shutil.copytree(DIST, self.folder, ignore=None if with_data else shutil.ignore_patterns("data"))
        if kc is not None:
            with open(os.path.join(self.folder, "kc.dll"), "wb") as f:
                f.write(kc.replace("\n", "\r\n").encode("gbk"))
        self.record = Record(self.run_win + "\\record.txt")
        self.trace = Trace(os.path.join(unix_path(self.run_win), "stderr.txt"))
        self.env = wine_env()
        self.env["WINEDEBUG"] = "+ieframe"
        overrides = self.env.get("WINEDLLOVERRIDES", "mscoree=")
        if dll_overrides:
            overrides = overrides + ";" + dll_overrides
        self.env["WINEDLLOVERRIDES"] = overrides
        self.env["STUDYGUIDE_RECORD"] = self.record.windows_path
        self.process = None
        self.started_at = None
        case.addCleanup(self.stop)

    def page(self, name):
        """The path with which the program should ask for a local page."""
        return self.folder_win + "\\" + name

    def start(self):
        self.stderr = open(self.trace.path, "wb")
        self.started_at = time.monotonic()
        self.process = subprocess.Popen([wine_loader(), "Project2.exe"], cwd=self.folder, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=self.stderr)
        return self

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %.0f s" % timeout)

    def stop(self):
        """Ends the run whatever state it is in."""
        if self.process is None:
            return
        if self.process.poll() is None:
            self.process.kill()  # the Wine process is the Windows process
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                kill_wineserver()
        self.stderr.close()

    def stderr_tail(self, lines=15):
        noise = (":trace:", ":warn:", ":fixme:")
        text = [l for l in self.trace.text().splitlines() if not any(n in l for n in noise)]
        return "\n".join(text[-lines:])


class Window:
    """The program's windows, as the probe sees them."""

    def __init__(self, probe, form):
        self.probe = probe
        self.form = form
        self.hwnd = form["hwnd"]
        self.pid = form["pid"]

    def refresh(self):
        for w in self.probe.top("TForm1"):
            if w["hwnd"] == self.hwnd:
                self.form = w
                return w
        return None

    def application(self):
        apps = [w for w in self.probe.top("TApplication") if w["pid"] == self.pid]
        return apps[0] if apps else None

    def children(self):
        return self.probe.children(self.hwnd)

    def child(self, class_name, text=None):
        found = [w for w in self.children() if w["class"] == class_name and (text is None or w["text"] == text)]
        if len(found) != 1:
            raise AssertionError("expected one %s %r, found %d" % (class_name, text, len(found)))
        return found[0]

    def tree_hwnd(self):
        return self.child("SysTreeView32")["hwnd"]

    def tree(self):
        return self.probe.tree(self.tree_hwnd())

    def tree_item(self, text):
        items = [i for i in self.tree()["items"] if i["text"] == text]
        if len(items) != 1:
            raise AssertionError("expected one tree item %r, found %d" % (text, len(items)))
        return items[0]

    def focus(self):
        return self.probe.focus(self.hwnd)

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self.probe("post", hwnd, message, wparam, lparam)

    def exit_code(self, timeout=TIMEOUT):
        """The whole 32-bit exit code (the Wine loader's own exit status keeps
        only its low byte: 0xC0000005 becomes 5)."""
        result = self.probe("exitcode", self.pid, int(timeout * 1000), timeout=timeout + 10)
        return result["code"] if result["exited"] else None


def wait_main_window(probe, pid=None, visible=True, timeout=TIMEOUT):
    """The program's main window (class TForm1), once it exists (and is visible)."""
    def find():
        for w in probe.top("TForm1"):
            if (pid is None or w["pid"] == pid) and (w["visible"] or not visible):
                return w
        return None
    return wait_until(find, timeout, interval=0.02, what="the main window (TForm1)")


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


# ---------------------------------------------------------------------------
# The user's hands and eyes

def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=20)


def pointer():
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True, timeout=20,
                         stdout=subprocess.PIPE, text=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def click_at(x, y, repeat=1):
    """A left click (repeat=2: a double-click) at a screen point."""
    # "mousemove --sync" waits for a movement, for ever when there is none.
    if pointer() != (x, y):
        xdotool("mousemove", "--sync", x, y)
    args = ["click"]
    if repeat > 1:
        args += ["--repeat", repeat, "--delay", 120]
    xdotool(*(args + [1]))


def press_key(name):
    xdotool("key", "--delay", 80, name)


def screenshot(name):
    os.makedirs(SCREENS, exist_ok=True)
    path = os.path.join(SCREENS, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)
    log("screenshot: " + path)
    return path


class ProgramCase(unittest.TestCase):
    """A test case with a probe of its own and the prefix ready."""

    probe = None

    @classmethod
    def setUpClass(cls):
        ensure_prefix()
        cls.probe = Probe()

    @classmethod
    def tearDownClass(cls):
        if cls.probe:
            cls.probe.close()
        # Nothing of this class may outlive it.
        kill_wineserver()

    def start(self, name, **options):
        """Starts a program run and waits for its visible main window."""
        # The pointer rests over the page area, where it lights up nothing.
        xdotool("mousemove", *PARKED_POINTER)
        program = Program(self, name, **options).start()
        try:
            form = wait_main_window(self.probe)
        except AssertionError:
            raise AssertionError("no main window; program output:\n" + program.stderr_tail())
        program.visible_after = time.monotonic() - program.started_at
        window = Window(self.probe, form)
        self.probe("watch", window.pid)
        return program, window

    def close_and_wait(self, program, window):
        """Closes the program as the window's close would, and waits for it to end.
        The exit code is not judged here: the close tests do that."""
        if program.process.poll() is None and window.refresh():
            window.post(window.hwnd, WM_CLOSE)
        try:
            program.wait_exit()
        finally:
            program.stop()

    def assert_counter_once(self, program, main_browser):
        """The start counter was loaded once, by the hidden browser, and never again."""
        events = program.trace.events()
        counts = [e for e in events if e.kind == "navigate" and e.value == COUNT_ADDRESS]
        self.assertEqual(len(counts), 1, "the counter address was loaded %d times" % len(counts))
        self.assertNotEqual(counts[0].browser, main_browser)
        others = [e for e in events if e.kind == "navigate" and e.browser != main_browser]
        self.assertEqual(len(others), 1, "the hidden browser navigated again: %r" % others)
