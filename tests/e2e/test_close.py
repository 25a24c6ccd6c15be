"""Every way of closing the program opens the forum board once, and the
program then ends with exit code 0."""

import unittest

from e2e_support import (FORUM_BOARD, SC_CLOSE, TIMEOUT, WM_CLOSE, WM_SYSCOMMAND, ProgramCase, center,
                         click_at, log, wait_recorders_done)

# The skin's title-bar buttons are 17 x 17 pictures, 4 pixels below the top of
# the bar; the close button is the rightmost, 2 pixels in from the bar's end.
TITLE_BUTTON = 17
TITLE_BUTTON_TOP = 4
TITLE_BUTTON_RIGHT_GAP = 2


class CloseTest(ProgramCase):

    def check_close(self, name, close):
        program, window = self.start("close-" + name)
        close(window)
        code = window.exit_code()
        returncode = program.wait_exit()
        wait_recorders_done(self.probe)
        log("close by %s: exit code %s (%#x), shell opens %r"
            % (name, code, code if code is not None else 0, program.record.urls()))
        self.assertEqual(program.record.urls(), [FORUM_BOARD],
                         "the close-time page must be opened exactly once")
        self.assertEqual(code, 0, "exit code %#x; program output:\n%s"
                         % (code if code is not None else 0, program.stderr_tail()))
        self.assertEqual(returncode, 0)

    def test_wm_close_to_the_main_window(self):
        self.check_close("WM_CLOSE", lambda w: w.post(w.hwnd, WM_CLOSE))

    def test_close_from_the_taskbar(self):
        # The taskbar button belongs to the hidden "TApplication" window; its
        # Close sends WM_SYSCOMMAND SC_CLOSE there.
        def close(window):
            window.post(window.application()["hwnd"], WM_SYSCOMMAND, SC_CLOSE)
        self.check_close("SC_CLOSE", close)

    def test_click_on_the_title_bar_close_button(self):
        def close(window):
            bar = window.child("TsuiTitleBar")["rect"]
            x = bar[2] - TITLE_BUTTON_RIGHT_GAP - TITLE_BUTTON // 2 - 1
            y = bar[1] + TITLE_BUTTON_TOP + TITLE_BUTTON // 2
            click_at(x, y)
        self.check_close("title-bar", close)

    def test_tree_entry_exit(self):
        def close(window):
            click_at(*center(window.tree_item("退出")["rect"]))
        self.check_close("tree-exit", close)


if __name__ == "__main__":
    unittest.main()
