"""Start-up: what the program asks of its two browsers, how fast the window
comes, start-up without pages or without the browser control, and the
start-up show commands."""

import time
import unittest

from e2e_support import (COUNT_ADDRESS, COURSE_PAGE, IDOK, MISSING, SC_CLOSE, TIMEOUT, WM_CLOSE,
                         WM_SYSCOMMAND, Program, ProgramCase, Window, log, wait_main_window, wait_until)


class StartupTest(ProgramCase):

    def startup_events(self, program):
        """The first three browser calls, once they are all there."""
        wait_until(lambda: len(program.trace.events()) >= 3, TIMEOUT,
                   what="three browser calls in the trace")
        return program.trace.events()

    def test_course_page_then_hidden_counter_once_in_a_folder_with_spaces_hash_and_percent(self):
        # The folder name would be changed on the way if the program treated
        # the path as an address: "#" starts a fragment, "%20" is a blank.
        folder = "my guide #2 50%20off"
        program, window = self.start("startup", folder_name=folder)
        log("start-up: the main window was visible %.2f s after the program was started"
            % program.visible_after)
        # Nothing at start-up waits for the network (there is none here).
        self.assertLess(program.visible_after, 10.0)

        events = self.startup_events(program)
        # The form is built, and its creation event run, before it is shown;
        # a round trip through the program's thread shows nothing more came.
        window.tree()
        events = program.trace.events()
        self.assertEqual([e.kind for e in events], ["navigate", "silent", "navigate"],
                         "browser calls at start-up: %r" % events)
        page, silent, count = events

        # 1. The main browser: the course page beside the program, by its
        # Windows path, unchanged; four optional arguments left out.
        self.assertEqual(page.value, program.page(COURSE_PAGE))
        self.assertIn(folder, page.value)
        self.assertEqual(page.args, [MISSING] * 4, page.line)

        # 2. The other (hidden) browser is made silent: VARIANT_TRUE.
        self.assertNotEqual(silent.browser, page.browser)
        self.assertEqual(silent.value.lower(), "ffffffff", silent.line)

        # 3. Then that browser loads the start counter, once.
        self.assertEqual(count.browser, silent.browser)
        self.assertEqual(count.value, COUNT_ADDRESS)
        self.assertEqual(count.args, [MISSING] * 4, count.line)

        # The window is up and shown.
        self.assertTrue(window.form["visible"])
        self.assertFalse(window.form["iconic"])
        self.close_and_wait(program, window)
        self.assert_counter_once(program, page.browser)

    def test_starts_without_the_data_folder(self):
        program, window = self.start("no-data", with_data=False)
        events = self.startup_events(program)
        # The page is asked for all the same (the browser shows its error page).
        self.assertEqual(events[0].kind, "navigate")
        self.assertEqual(events[0].value, program.page(COURSE_PAGE))
        self.assertEqual(events[2].value, COUNT_ADDRESS)
        # No error box: the window is there and usable.
        boxes = [w for w in self.probe.top("#32770") if w["pid"] == window.pid and w["visible"]]
        self.assertEqual(boxes, [])
        self.assertTrue(window.tree()["items"])
        self.close_and_wait(program, window)

    def test_without_the_browser_control_an_error_box_and_exit_code_1(self):
        program = Program(self, "no-browser", dll_overrides="ieframe=").start()
        seen_forms = []

        def box():
            if program.process.poll() is not None:
                raise AssertionError("the program ended (code %d) without an error box; its output:\n%s"
                                     % (program.process.returncode, program.stderr_tail()))
            seen_forms.extend(w for w in self.probe.top("TForm1") if w["visible"])
            found = self.probe("msgbox", "Application Error")
            return found if found["found"] else None

        found = wait_until(box, TIMEOUT, interval=0.05, what='the "Application Error" box')
        log("error box text: %r" % found["message"])
        self.assertTrue(found["message"].startswith("Exception EOleSysError in module Project2.exe at "),
                        found["message"])
        self.assertEqual([b["id"] for b in found["buttons"]], [IDOK])
        # No main window came up, and none is there behind the box.
        self.assertEqual(seen_forms, [])
        self.assertEqual([w for w in self.probe.top("TForm1") if w["visible"]], [])

        self.probe("press", found["box"]["hwnd"], IDOK)
        self.assertEqual(program.wait_exit(), 1)

    def launch(self, name, show):
        """Starts the program with a show command, as a shortcut or Explorer would."""
        program = Program(self, name)
        self.probe("setenv", "STUDYGUIDE_RECORD", program.record.windows_path)
        pid = self.probe("launch", show, program.folder_win + "\\Project2.exe")["pid"]
        self.addCleanup(self.probe, "kill", pid)
        return program, pid

    def application_window(self, pid):
        apps = [w for w in self.probe.top("TApplication") if w["pid"] == pid]
        return apps[0] if apps else None

    def test_show_command_7_starts_minimised(self):
        program, pid = self.launch("show-7", 7)  # SW_SHOWMINNOACTIVE
        app = wait_until(lambda: (self.application_window(pid) or {}).get("iconic") and self.application_window(pid),
                         TIMEOUT, what="the minimised taskbar window")
        self.assertTrue(app["visible"])
        form = wait_main_window(self.probe, pid, visible=False)
        time.sleep(0.5)  # it stays so
        form = [w for w in self.probe.top("TForm1") if w["pid"] == pid][0]
        self.assertFalse(form["visible"], "the main window is shown although started minimised")
        self.assertTrue(self.application_window(pid)["iconic"])
        # The taskbar's Close ends it from there.
        self.probe("post", app["hwnd"], WM_SYSCOMMAND, SC_CLOSE, 0)
        result = self.probe("exitcode", pid, int(TIMEOUT * 1000), timeout=TIMEOUT + 10)
        self.assertTrue(result["exited"])

    def check_maximised(self, show):
        program, pid = self.launch("show-%d" % show, show)
        screen = self.probe("screen")
        work = screen["work"]
        form = wait_main_window(self.probe, pid)

        # What a user sees: the window covers the work area. Wine differs from
        # Windows here: a maximised window without a caption is asked of the
        # window manager as full-screen, and when the manager's answer comes
        # Wine takes it for a restore (x11drv: "is no longer maximized", then
        # SC_RESTORE) while the window keeps covering the screen. So IsZoomed
        # is only reported, not asserted.
        def covering():
            w = [f for f in self.probe.top("TForm1") if f["pid"] == pid][0]
            return w if w["rect"] == work and w["visible"] else None

        try:
            form = wait_until(covering, 5.0, what="the window to cover the work area")
        except AssertionError:
            form = [f for f in self.probe.top("TForm1") if f["pid"] == pid][0]
            self.fail("show %d: window rect %r, work area %r" % (show, form["rect"], work))
        log("show %d: main window %r visible=%s zoomed=%s" % (show, form["rect"], form["visible"], form["zoomed"]))
        self.assertFalse(form["iconic"])
        self.probe("post", form["hwnd"], WM_CLOSE, 0, 0)
        result = self.probe("exitcode", pid, int(TIMEOUT * 1000), timeout=TIMEOUT + 10)
        self.assertTrue(result["exited"])

    def test_show_command_3_starts_maximised(self):
        self.check_maximised(3)  # SW_SHOWMAXIMIZED

    def test_show_command_1_starts_maximised_as_stored(self):
        self.check_maximised(1)  # SW_SHOWNORMAL: the stored state (maximised) wins


if __name__ == "__main__":
    unittest.main()
