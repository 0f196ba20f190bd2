#!/usr/bin/python3
"""Pantrova on a data folder that two real Syncthing instances keep in step.

Two portable copies of the program folder, A and B, each with a Syncthing of its
own (own home, loopback only, no discovery or relays) sharing the data (Category,
Shopping List, PV.ini) with file watching on and a short rescan. Both programs run
under one Xvfb and are driven as a person would, through the accessibility bus and
real clicks and keys. Checked:

  1. a recipe saved on A is listed in B's open browser within 10 s;
  2. a category created on B appears in A's open lists (browser, entry screen);
  3. the same recipe changed on both sides at once ends with both versions on
     disk on both sides, one as a conflict copy, and the browsers show the copy
     marked;
  4. nothing is lost: both data folders end byte for byte alike, holding every
     version written.

Run by scripts/sync-check.sh, with Debian's python3 (pyatspi):
    /usr/bin/python3 scripts/synccheck.py APP_FOLDER [--display :N] [--shots DIR] [--keep]
"""
import argparse
import json
import os
import random
import shutil
import signal
import socket
import string
import subprocess
import sys
import tempfile
import time
import urllib.request
import xml.etree.ElementTree as ET

import pyatspi

FOLDER_ID = "pantrova"
LIMIT_S = 10.0
# Pantrova's data only: the program's own files stay each side's.
STIGNORE = """(?d).pv-save-*
!/Category
!/Category/**
!/Shopping List
!/Shopping List/**
!/PV.ini
*
"""


def record(fields):
    """A recipe file: 35 quoted fields, the given ones (from 1) filled."""
    values = [""] * 35
    for number, text in fields.items():
        values[number - 1] = text
    return ('"' + '","'.join(values) + '"\r\n').encode("cp1252")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, test, timeout, step=0.1):
    """Polls test() until it gives a true value; returns (value, seconds) or raises."""
    start = time.monotonic()
    while True:
        value = test()
        if value:
            return value, time.monotonic() - start
        if time.monotonic() - start > timeout:
            raise Failure("%s: not within %.0f s" % (what, timeout))
        time.sleep(step)


class Failure(Exception):
    pass


# ---- Syncthing --------------------------------------------------------------------------

class Syncthing:
    def __init__(self, name, root, folder):
        self.name = name
        self.home = os.path.join(root, "syncthing-" + name)
        self.folder = folder
        self.gui = free_port()
        self.listen = free_port()
        self.key = "".join(random.choice(string.ascii_letters) for _ in range(32))
        self.log = os.path.join(root, "syncthing-%s.log" % name)
        self.proc = None
        subprocess.run(["syncthing", "generate", "--home=" + self.home, "--no-default-folder",
                        "--skip-port-probing"], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        config = os.path.join(self.home, "config.xml")
        tree = ET.parse(config)
        options = tree.getroot().find("options")
        settings = {"listenAddress": "tcp://127.0.0.1:%d" % self.listen,
                    "globalAnnounceEnabled": "false", "localAnnounceEnabled": "false",
                    "relaysEnabled": "false", "natEnabled": "false", "urAccepted": "-1",
                    "autoUpgradeIntervalH": "0", "reconnectionIntervalS": "1",
                    "startBrowser": "false", "crashReportingEnabled": "false"}
        for key, value in settings.items():
            node = options.find(key)
            if node is None:
                node = ET.SubElement(options, key)
            node.text = value
        tree.write(config)
        with open(os.path.join(folder, ".stignore"), "w") as f:
            f.write(STIGNORE)

    def start(self):
        env = dict(os.environ, STNODEFAULTFOLDER="1", STNOUPGRADE="1")
        self.proc = subprocess.Popen(
            ["syncthing", "serve", "--home=" + self.home, "--no-browser", "--no-restart",
             "--gui-address=http://127.0.0.1:%d" % self.gui, "--gui-apikey=" + self.key,
             "--logfile=" + self.log],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.id = wait_for("Syncthing %s up" % self.name, self.my_id, 30)[0]

    def my_id(self):
        try:
            return self.api("GET", "/rest/system/status")["myID"]
        except Exception:
            return None

    def api(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.gui, path), data=data,
                                         method=method, headers={"X-API-Key": self.key})
        with urllib.request.urlopen(request, timeout=10) as reply:
            text = reply.read()
        return json.loads(text) if text.strip() else None

    def share_with(self, other):
        self.api("POST", "/rest/config/devices",
                 {"deviceID": other.id, "name": other.name,
                  "addresses": ["tcp://127.0.0.1:%d" % other.listen]})
        self.api("POST", "/rest/config/folders",
                 {"id": FOLDER_ID, "label": "Pantrova data", "path": self.folder,
                  "type": "sendreceive", "rescanIntervalS": 10, "fsWatcherEnabled": True,
                  "fsWatcherDelayS": 1, "devices": [{"deviceID": self.id},
                                                    {"deviceID": other.id}]})

    def connected(self, other):
        connections = self.api("GET", "/rest/system/connections")["connections"]
        return connections.get(other.id, {}).get("connected", False)

    def pause(self, paused):
        self.api("PATCH", "/rest/config/folders/" + FOLDER_ID, {"paused": paused})

    def in_step(self, other):
        """Idle, nothing to pull, and the other side has all of ours."""
        status = self.api("GET", "/rest/db/status?folder=" + FOLDER_ID)
        completion = self.api("GET", "/rest/db/completion?folder=%s&device=%s" % (FOLDER_ID,
                                                                                   other.id))
        return (status["state"] == "idle" and status["needTotalItems"] == 0
                and completion["completion"] == 100 and completion["needItems"] == 0)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


# ---- the desktop and the programs ------------------------------------------------------

class Desktop:
    """Xvfb, a window manager, a session bus and the accessibility bus."""

    def __init__(self, display=None):
        self.procs = []
        self.display = display
        self.env = dict(os.environ)

    def __enter__(self):
        if self.display:
            self.procs.append(subprocess.Popen(["Xvfb", self.display, "-screen", "0",
                                                "1600x1200x24", "-nolisten", "tcp"],
                                               stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
            time.sleep(1)
        else:
            read, write = os.pipe()
            self.procs.append(subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                                "1600x1200x24", "-nolisten", "tcp"],
                                               pass_fds=(write,), stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
            os.close(write)
            with os.fdopen(read) as f:
                self.display = ":" + f.readline().strip()
        out = subprocess.check_output(["dbus-daemon", "--session", "--fork", "--print-address=1",
                                       "--print-pid=1"], text=True).split()
        self.bus, self.bus_pid = out[0], int(out[1])
        self.env.update(DISPLAY=self.display, DBUS_SESSION_BUS_ADDRESS=self.bus,
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                        QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM_PLUGIN_PATH", None)
        os.environ.update(DISPLAY=self.display, DBUS_SESSION_BUS_ADDRESS=self.bus)
        for command in (["openbox"], ["/usr/libexec/at-spi-bus-launcher",
                                      "--launch-immediately"]):
            self.procs.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
        time.sleep(1.5)
        return self

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
        try:
            os.kill(self.bus_pid, signal.SIGTERM)
        except OSError:
            pass

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.display, "-window", "root", path],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            yield from walk(node.getChildAtIndex(i), depth + 1)
        except Exception:
            continue


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def role(node):
    try:
        return node.getRoleName()
    except Exception:
        return ""


def name(node):
    try:
        return (node.name or "").rstrip(":")
    except Exception:
        return ""


def text(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return name(node)


class Program:
    """One Pantrova, run from its own folder, found on the accessibility bus by its pid."""

    def __init__(self, desktop, label, folder):
        self.desktop = desktop
        self.label = label
        self.folder = folder
        log = open(folder + ".log", "w")
        self.proc = subprocess.Popen([os.path.join(folder, "PV")], cwd=folder,
                                     env=desktop.env, stdout=log, stderr=subprocess.STDOUT)
        self.acc = wait_for("%s on the accessibility bus" % label, self.find_app, 20)[0]
        self.window("Main Menu", 10)

    def find_app(self):
        desk = pyatspi.Registry.getDesktop(0)
        for i in range(desk.childCount):
            node = desk.getChildAtIndex(i)
            try:
                if node is not None and node.get_process_id() == self.proc.pid:
                    return node
            except Exception:
                pass
        return None

    def find(self, wanted, roles=None, within=None, timeout=6, only_showing=True):
        def look():
            for node in walk(within or self.acc):
                if name(node) == wanted and (not roles or role(node) in roles) and (
                        not only_showing or showing(node)):
                    return node
            return None
        return wait_for("%s: %s" % (self.label, wanted), look, timeout)[0]

    def window(self, title, timeout=6):
        return self.find(title, ("frame", "filler", "dialog", "window"), timeout=timeout)

    def activate(self, title):
        ids = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.proc.pid),
                              "--name", "^%s$" % title], env=self.desktop.env,
                             capture_output=True, text=True).stdout.split()
        for window_id in ids:
            try:
                subprocess.run(["xdotool", "windowactivate", "--sync", window_id],
                               env=self.desktop.env, capture_output=True, timeout=2)
                time.sleep(0.2)
                return
            except subprocess.TimeoutExpired:
                pass

    def top(self, node):
        while node.parent is not None and role(node.parent) != "application":
            node = node.parent
        return node

    def click(self, node):
        self.activate(name(self.top(node)))
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", "--sync", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "1"], env=self.desktop.env)
        time.sleep(0.3)

    def press(self, wanted, within=None):
        """A side-bar item, button or menu item, through its action."""
        node = self.find(wanted, ("push button", "menu item"), within, only_showing=False)
        node.queryAction().doAction(0)
        time.sleep(0.4)

    def set_text(self, box_name, value, within):
        self.find(box_name, ("text",), within).queryEditableText().setTextContents(value)
        time.sleep(0.1)

    def items(self, list_name, within):
        node = self.find(list_name, ("list",), within)
        return [name(node.getChildAtIndex(i)) for i in range(node.childCount)]

    def combo(self, within):
        """The window's drop-down. Once a choice is made, its accessible name is the
        choice, not its label's text, so it is found as the window's only one."""
        def look():
            return next((n for n in walk(within) if role(n) == "combo box" and showing(n)), None)
        return wait_for("%s: a drop-down" % self.label, look, 6)[0]

    def choices(self, within):
        node = self.combo(within).getChildAtIndex(0)
        return [name(node.getChildAtIndex(i)) for i in range(node.childCount)]

    def pick(self, item, within):
        """A choice in the drop-down, by the keyboard: Home, then Down to the item."""
        index = self.choices(within).index(item)
        self.activate(name(within))
        self.combo(within).queryComponent().grabFocus()
        subprocess.run(["xdotool", "key", "Home"] + ["Down"] * index, env=self.desktop.env)
        time.sleep(0.5)

    def list_item(self, list_name, item, within):
        node = self.find(list_name, ("list",), within)
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if name(child) == item:
                return child
        raise Failure("%s: %s is not listed in %s" % (self.label, item, list_name))

    def message(self):
        """The message box on screen, if any: (its text, the box)."""
        for node in walk(self.acc):
            if role(node) in ("dialog", "alert") and showing(node):
                labels = [text(x) for x in walk(node) if role(x) == "label" and text(x).strip()]
                return (max(labels, key=len) if labels else ""), node
        return None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


# ---- the checks ------------------------------------------------------------------------

def data_tree(folder):
    """Every data file below the folder by its relative path, with its bytes; folders end in '/'."""
    tree = {}
    for top in ("Category", "Shopping List", "PV.ini"):
        path = os.path.join(folder, top)
        if os.path.isfile(path):
            tree[top] = open(path, "rb").read()
        for base, folders, files in os.walk(path):
            for each in folders:
                tree[os.path.relpath(os.path.join(base, each), folder) + "/"] = b""
            for each in files:
                full = os.path.join(base, each)
                tree[os.path.relpath(full, folder)] = open(full, "rb").read()
    return tree


def conflict_copies(folder):
    soups = os.path.join(folder, "Category", "Soups")
    return sorted(f for f in os.listdir(soups) if f.startswith("Stew.sync-conflict-"))


class Run:
    def __init__(self, args):
        self.args = args
        self.passed, self.failed = [], []
        self.started = time.monotonic()

    def say(self, line):
        print("[%5.1f s] %s" % (time.monotonic() - self.started, line), flush=True)

    def check(self, label, ok, detail=""):
        (self.passed if ok else self.failed).append(label)
        # Details of a pass only when short (a text the program showed, say).
        shown = detail if detail and (not ok or len(detail) < 200) else ""
        self.say(("PASS " if ok else "FAIL ") + label + (": " + shown if shown else ""))

    def shot(self, desktop, label):
        if self.args.shots:
            os.makedirs(self.args.shots, exist_ok=True)
            path = os.path.join(self.args.shots, label + ".png")
            desktop.screenshot(path)
            self.say("screenshot " + path)

    def main(self):
        root = tempfile.mkdtemp(prefix="pv-sync-")
        sides = {}
        for label in ("A", "B"):
            folder = os.path.join(root, label, "app")
            shutil.copytree(self.args.app, folder, symlinks=True)
            for top in ("Category", "Shopping List"):
                shutil.rmtree(os.path.join(folder, top), ignore_errors=True)
                os.makedirs(os.path.join(folder, top))
            open(os.path.join(folder, "PV.ini"), "wb").close()
            sides[label] = folder
        a_folder, b_folder = sides["A"], sides["B"]
        # A holds the household's data; B joins with an empty folder.
        with open(os.path.join(a_folder, "Category", "category.txt"), "wb") as f:
            f.write(b"Soups\r\n")
        os.makedirs(os.path.join(a_folder, "Category", "Soups"))
        stew = record({1: "2", 11: "lbs", 21: "beef", 31: "Brown.\r\nSimmer."})
        with open(os.path.join(a_folder, "Category", "Soups", "Stew"), "wb") as f:
            f.write(stew)
        syncthings = [Syncthing("A", root, a_folder), Syncthing("B", root, b_folder)]
        sa, sb = syncthings
        programs = []
        try:
            for s in syncthings:
                s.start()
            sa.share_with(sb)
            sb.share_with(sa)
            wait_for("the two Syncthings connected", lambda: sa.connected(sb), 30)
            _, took = wait_for("B received A's data", lambda: os.path.exists(
                os.path.join(b_folder, "Category", "Soups", "Stew")) and sa.in_step(sb)
                and sb.in_step(sa), 60, 0.3)
            self.say("Syncthing A %s and B %s connected; B has A's data after %.1f s"
                     % (sa.id[:7], sb.id[:7], took))
            with Desktop(self.args.display) as desktop:
                self.say("desktop on " + desktop.display)
                a = Program(desktop, "A", a_folder)
                programs.append(a)
                b = Program(desktop, "B", b_folder)
                programs.append(b)
                self.scenarios(desktop, a, b, sa, sb, stew)
                for program in programs:
                    message = program.message()
                    self.check("%s still runs, no message on screen" % program.label,
                               program.proc.poll() is None and not message,
                               message[0] if message else "")
                    program.stop()
            self.nothing_lost(a_folder, b_folder, sa, sb)
        except Failure as failure:
            self.check("the run", False, str(failure))
        finally:
            for program in programs:
                program.stop()
            for s in syncthings:
                s.stop()
            if self.args.keep:
                self.say("kept " + root)
            else:
                shutil.rmtree(root, ignore_errors=True)
        self.say("%d passed, %d failed" % (len(self.passed), len(self.failed)))
        return 0 if not self.failed else 1

    def scenarios(self, desktop, a, b, sa, sb, stew):
        # 1. A recipe saved on A, listed in B's open browser.
        b.press("Display recipes")
        b_recipes = b.window("Recipes")
        b.pick("Soups", b_recipes)
        wait_for("B lists Stew", lambda: "Stew" in b.items("Files", b_recipes), 5)
        a.press("Ingredients")
        a_entry = a.window("Ingredients")
        a.pick("Soups", a_entry)
        a.set_text("Recipe", "Pea soup", a_entry)
        a.set_text("Ingredient 1", "split peas", a_entry)
        a.click(a.find("Save", ("push button",), a_entry))
        saved = time.monotonic()
        pea = record({21: "split peas"})
        self.check("A saved Pea soup", open(os.path.join(a.folder, "Category", "Soups",
                                                         "Pea soup"), "rb").read() == pea)
        try:
            wait_for("Pea soup in B's browser", lambda: "Pea soup" in b.items("Files", b_recipes),
                     LIMIT_S, 0.05)
            took = time.monotonic() - saved
            self.check("a recipe saved on A is listed in B's open browser (%.1f s)" % took,
                       took <= LIMIT_S)
        except Failure as failure:
            self.check("a recipe saved on A is listed in B's open browser", False, str(failure))
        self.shot(desktop, "1-saved-on-A-listed-on-B")

        # 2. A category created on B, in A's open lists.
        a.press("Display recipes")
        a_recipes = a.window("Recipes")
        a.pick("Soups", a_recipes)
        b.press("Prg setup")
        b_setup = b.window("Program setup")
        b.set_text("Create new category", "Breads", b_setup)
        b.click(b.find("Create", ("push button",), b_setup))
        created = time.monotonic()
        for label, window in (("browser", a_recipes), ("entry screen", a_entry)):
            try:
                wait_for("Breads in A's %s" % label, lambda: "Breads" in a.choices(window),
                         LIMIT_S, 0.05)
                self.check("a category created on B appears in A's open %s (%.1f s)"
                           % (label, time.monotonic() - created), True)
            except Failure as failure:
                self.check("a category created on B appears in A's open " + label, False,
                           str(failure))
        self.check("A's browser keeps its choice",
                   name(a.combo(a_recipes)) == "Soups")
        self.shot(desktop, "2-category-on-B-listed-on-A")

        # 3. Stew changed on both sides at once: both versions kept, the copy marked.
        for s in (sa, sb):
            s.pause(True)
        time.sleep(1)
        versions = {}
        for program, recipes, beef in ((a, a_recipes, "beef from A"), (b, b_recipes, "beef from B")):
            program.click(program.list_item("Files", "Stew", recipes))
            program.press("Edit...", recipes)
            entry = program.window("Ingredients")
            asked = program.message()
            if asked:
                self.check("%s: Edit asks nothing" % program.label, False, asked[0])
                program.click(program.find("Yes", ("push button",), asked[1]))
            self.check("%s: Edit fills the boxes as stored" % program.label,
                       text(program.find("Recipe", ("text",), entry)) == "Stew"
                       and text(program.find("Ingredient 1", ("text",), entry)) == "beef")
            program.set_text("Ingredient 1", beef, entry)
            program.click(program.find("Save", ("push button",), entry))
            asked = program.message()
            self.check("%s: saving the recipe edited asks nothing" % program.label, not asked,
                       asked[0] if asked else "")
            versions[program.label] = open(os.path.join(program.folder, "Category", "Soups",
                                                        "Stew"), "rb").read()
        self.check("both sides changed Stew",
                   versions["A"] == record({1: "2", 11: "lbs", 21: "beef from A",
                                            31: "Brown.\r\nSimmer."})
                   and versions["B"] == record({1: "2", 11: "lbs", 21: "beef from B",
                                                31: "Brown.\r\nSimmer."}))
        for s in (sa, sb):
            s.pause(False)
        resumed = time.monotonic()
        try:
            wait_for("a conflict copy on both sides", lambda: conflict_copies(a.folder)
                     and conflict_copies(b.folder) and sa.in_step(sb) and sb.in_step(sa),
                     60, 0.3)
            self.say("conflict copies after %.1f s: %s" % (time.monotonic() - resumed,
                                                          conflict_copies(b.folder)))
        except Failure as failure:
            self.check("the change on both sides meets", False, str(failure))
            return
        for program in (a, b):
            soups = os.path.join(program.folder, "Category", "Soups")
            copies = conflict_copies(program.folder)
            kept = sorted([open(os.path.join(soups, "Stew"), "rb").read()]
                          + [open(os.path.join(soups, c), "rb").read() for c in copies])
            self.check("%s holds both versions of Stew, one as the conflict copy %s"
                       % (program.label, ", ".join(copies)),
                       len(copies) == 1 and kept == sorted(versions.values()))
        copy = conflict_copies(b.folder)[0]
        for program, recipes in ((b, b_recipes), (a, a_recipes)):
            try:
                item, took = wait_for("%s's browser lists %s" % (program.label, copy),
                                      lambda: copy in program.items("Files", recipes)
                                      and program.list_item("Files", copy, recipes), LIMIT_S)
                note = item.description or ""
                self.check("%s's open browser lists the conflict copy, marked (%.1f s)"
                           % (program.label, time.monotonic() - resumed),
                           note.startswith('Conflict copy of "Stew"'), repr(note))
            except Failure as failure:
                self.check("%s's open browser lists the conflict copy" % program.label, False,
                           str(failure))
        # Off to the side in a list of long names: reached by the keyboard, the last name.
        b.activate("Recipes")
        b.find("Files", ("list",), b_recipes).queryComponent().grabFocus()
        subprocess.run(["xdotool", "key", "End", "Return"], env=b.desktop.env)
        time.sleep(0.5)
        shown = text(b.find("Recipe name", ("text",), b_recipes))
        self.check("B shows the conflict copy", shown == copy, repr(shown))
        self.shot(desktop, "3-conflict-copy-marked-on-B")

    def nothing_lost(self, a_folder, b_folder, sa, sb):
        wait_for("both sides in step", lambda: sa.in_step(sb) and sb.in_step(sa), 30, 0.3)
        left, right = data_tree(a_folder), data_tree(b_folder)
        self.check("nothing lost: both data folders alike, byte for byte", left == right,
                   "only A: %s; only B: %s; differ: %s" % (
                       sorted(set(left) - set(right)), sorted(set(right) - set(left)),
                       sorted(k for k in set(left) & set(right) if left[k] != right[k])))
        soups = {k for k in left if k.startswith("Category/Soups/") and not k.endswith("/")}
        self.check("the data: Soups and Breads listed, Breads' folder, Pea soup, Stew and its copy",
                   left.get("Category/category.txt") == b"Soups\r\nBreads\r\n"
                   and "Category/Breads/" in left
                   and left.get("Category/Soups/Pea soup") == record({21: "split peas"})
                   and len(soups) == 3, repr(sorted(left)))
        self.check("no temporary file left", not any(
            os.path.basename(k.rstrip("/")).startswith((".pv-save-", ".syncthing."))
            for k in left), repr(sorted(left)))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("app", help="the program folder the build lays out (build/app)")
    parser.add_argument("--display", help="an X display number for Xvfb (default: a free one)")
    parser.add_argument("--shots", help="a folder for screenshots")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder")
    sys.exit(Run(parser.parse_args()).main())
