"""The eight big buttons and the logo, clicked as a user does (xdotool):
pages go to the main browser, links to the shell (the recorder)."""

import unittest

from e2e_support import (CONSULTATION, CONTACT_PAGE, COURSE_PAGE, FORUM_BOARD, GUIDE_PAGE, HOME_PAGE,
                         ORDERING_THREAD, ProgramCase, center, click_at, log, wait_recorders_done)

# Caption -> ("page", page name) or ("link", address).
BUTTONS = [
    ("报考指南", ("page", GUIDE_PAGE)),
    ("教材订购", ("link", ORDERING_THREAD)),
    ("辅导课程", ("page", COURSE_PAGE)),
    ("历年真题", ("page", COURSE_PAGE)),
    ("考试题库", ("page", COURSE_PAGE)),
    ("论坛交流", ("link", FORUM_BOARD)),
    ("联系我们", ("page", CONTACT_PAGE)),
    ("在线咨询", ("link", CONSULTATION)),
]


class ButtonsTest(ProgramCase):

    def test_buttons_and_logo(self):
        program, window = self.start("buttons")
        trace, record = program.trace, program.record
        main = trace.wait_navigations(2)[0].browser
        pages = []   # what the main browser was asked to show, in order
        links = []   # what the shell was asked to open, in order

        def act(where, effect, times=1):
            """Clicks (times=2: a double-click) and waits for the effect."""
            kind, target = effect
            pages_before, links_before = len(trace.navigations(main)), len(record.urls())
            click_at(*center(where), repeat=times)
            if kind == "page":
                pages.extend([program.page(target)] * times)
                trace.wait_navigations(len(pages), main)
            else:
                links.extend([target] * times)
                record.wait_count(len(links))
                # The handler that started the recorder has long returned: a
                # Navigate of its own would be in the trace by now.
                self.assertEqual(len(trace.navigations(main)), pages_before,
                                 "a link button navigated the main browser")
            if kind == "page":
                self.assertEqual(len(record.urls()), links_before, "a page button opened a link")

        buttons = {w["text"]: w for w in window.children() if w["class"] == "TsuiButton"}
        self.assertEqual(sorted(buttons), sorted(caption for caption, _ in BUTTONS))
        for caption, effect in BUTTONS:
            with self.subTest(button=caption):
                act(buttons[caption]["rect"], effect)

        with self.subTest(button="logo"):
            act(window.child("TImage")["rect"], ("link", HOME_PAGE))

        # The buttons take no double-clicks as such: each press is a click.
        with self.subTest(double_click="报考指南"):
            act(buttons["报考指南"]["rect"], ("page", GUIDE_PAGE), times=2)
        with self.subTest(double_click="论坛交流"):
            act(buttons["论坛交流"]["rect"], ("link", FORUM_BOARD), times=2)

        # A click posted to a button's window acts as a real one.
        with self.subTest(posted_click="联系我们"):
            rect = buttons["联系我们"]["rect"]
            self.probe("click", buttons["联系我们"]["hwnd"], (rect[2] - rect[0]) // 2, (rect[3] - rect[1]) // 2)
            pages.append(program.page(CONTACT_PAGE))
            trace.wait_navigations(len(pages), main)

        self.close_and_wait(program, window)
        wait_recorders_done(self.probe)
        log("buttons: main browser pages %r" % [e.value for e in trace.navigations(main)])
        log("buttons: shell opens %r" % record.urls())
        # Everything, in order and nothing more: the start page first, the
        # close-time forum page last.
        self.assertEqual([e.value for e in trace.navigations(main)], [program.page(COURSE_PAGE)] + pages)
        self.assertEqual(record.urls(), links + [FORUM_BOARD])
        self.assert_counter_once(program, main)


if __name__ == "__main__":
    unittest.main()
