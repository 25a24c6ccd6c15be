"""The topic tree: its state after start, and what clicking its entries does
(xdotool clicks on the entries' text, as a user does). Screenshots of the
program are saved along the way."""

import time
import unittest

from e2e_support import (CONSULTATION, CONTACT_PAGE, COURSE_PAGE, FORUM_BOARD, GUIDE_PAGE, ProgramCase, center,
                         click_at, log, press_key, screenshot, wait_recorders_done, wait_until)

GROUPS = ["保过班辅导课程", "精讲班视频课程", "真题解析班视频课程", "历年真题与模拟试题详解", "考试题库",
          "过关必做习题集", "教材精讲＋真题解析"]
OPEN_AT_START = "保过班辅导课程"

# A course link file of our own: four entries with targets; every other entry
# (for example the groups' children) has none.
KC_TARGETS = {
    "考试题库": "http://kc.mirelto.example/tiku?subject=all&year=2016",
    "保过班辅导课程": "http://kc.mirelto.example/baoguo",
    "教材辅导在线订购": "https://kc.mirelto.example/order#books",
    "VIP会员服务": "http://kc.mirelto.example/vip",
}
KC_FILE = "[kc]\n" + "".join("%s=%s\n" % item for item in KC_TARGETS.items())
NOT_IN_KC = ["《期货法律法规》网授保过班", "精讲班视频课程"]


class TreeTest(ProgramCase):

    def test_tree(self):
        program, window = self.start("tree", kc=KC_FILE)
        trace, record = program.trace, program.record
        main = trace.wait_navigations(2)[0].browser
        tree_hwnd = window.tree_hwnd()
        pages = [program.page(COURSE_PAGE)]
        links = []

        # --- After start, no clicks yet --------------------------------------
        items = window.tree()["items"]
        by_text = {i["text"]: i for i in items}
        with self.subTest("tree after start"):
            self.assertEqual([g for g in GROUPS if by_text[g]["expanded"]], [OPEN_AT_START])
            for item in items:
                if item["level"] == 1:
                    parent = [i for i in items[:items.index(item)] if i["level"] == 0][-1]
                    self.assertEqual(item["shown"], parent["text"] == OPEN_AT_START, item["text"])
                else:
                    self.assertTrue(item["shown"], item["text"])
            self.assertEqual(sum(1 for i in items if i["level"] == 1 and i["shown"]), 3)
            # The keyboard is in the tree.
            self.assertEqual(window.focus()["hwnd"], tree_hwnd)
            # Wine's tree view selects the first visible entry when it gets the
            # focus and nothing is selected; Windows' leaves the selection empty
            # (it only draws the focus frame). A user sees at most that entry.
            selected = [i["text"] for i in items if i["selected"]]
            self.assertIn(selected, ([], ["2016报考指南"]))
            log("tree after start: selected %r (Wine selects the first entry on focus)" % selected)
        screenshot("01-after-start")

        def click_item(text, repeat=1):
            item = window.tree_item(text)
            self.assertTrue(item["shown"], "%r is not shown" % text)
            click_at(*center(item["rect"]), repeat=repeat)

        def expect_page(name):
            pages.append(program.page(name))
            trace.wait_navigations(len(pages), main)

        def expect_link(url):
            links.append(url)
            record.wait_count(len(links))

        def nothing_more():
            # Every Navigate or shell open happens inside the click's handler;
            # a later action's effect (waited for) shows the earlier ones are done.
            self.assertEqual([e.value for e in trace.navigations(main)], pages)
            wait_recorders_done(self.probe)
            self.assertEqual(record.urls(), links)

        # --- Entries with fixed actions ---------------------------------------
        with self.subTest("2016报考指南"):
            click_item("2016报考指南")
            expect_page(GUIDE_PAGE)
        with self.subTest("辅导课程和资料精选"):
            click_item("辅导课程和资料精选")
            expect_page(COURSE_PAGE)
        with self.subTest("在线咨询"):
            click_item("在线咨询")
            expect_link(CONSULTATION)
        with self.subTest("联系我们"):
            click_item("联系我们")
            expect_page(CONTACT_PAGE)
        with self.subTest("empty space with 联系我们 selected"):
            self.assertTrue(window.tree_item("联系我们")["selected"])
            last = window.tree()["items"][-1]["rect"]
            click_at(last[0] + 20, last[3] + 40)
            expect_page(CONTACT_PAGE)
            self.assertTrue(window.tree_item("联系我们")["selected"])
        nothing_more()

        # --- Course links from kc.dll ------------------------------------------
        for text in ["考试题库", "保过班辅导课程", "教材辅导在线订购", "VIP会员服务"]:
            with self.subTest(kc=text):
                click_item(text)
                expect_link(KC_TARGETS[text])
                if text == "考试题库":
                    screenshot("02-after-clicking-kaoshitiku")
        for text in NOT_IN_KC:
            with self.subTest(not_in_kc=text):
                if not window.tree_item(text)["shown"]:
                    click_item(OPEN_AT_START)  # opens its group (and opens its link)
                    expect_link(KC_TARGETS[OPEN_AT_START])
                click_item(text)
                wait_until(lambda: window.tree_item(text)["selected"], what="%r selected" % text)
                # A known action after it: if the entry had opened anything, it
                # would be recorded by the time this one's effect is seen.
                click_item("联系我们")
                expect_page(CONTACT_PAGE)
                nothing_more()
        screenshot("03-after-course-links")

        # --- A double-click acts once ------------------------------------------
        with self.subTest("double-click"):
            click_item("2016报考指南", repeat=2)
            expect_page(GUIDE_PAGE)
            click_item("联系我们")
            expect_page(CONTACT_PAGE)
            nothing_more()
        with self.subTest("double-click on a link entry"):
            click_item("在线咨询", repeat=2)
            expect_link(CONSULTATION)
            click_item("联系我们")
            expect_page(CONTACT_PAGE)
            nothing_more()

        # --- Arrow keys select, only a click runs -------------------------------
        with self.subTest("arrow keys"):
            click_item("2016报考指南")
            expect_page(GUIDE_PAGE)
            press_key("Down")
            press_key("Down")
            wait_until(lambda: window.tree_item("辅导课程和资料精选")["selected"],
                       what="the selection to move two entries down")
            self.assertEqual(window.focus()["hwnd"], tree_hwnd)
            time.sleep(0.3)
            nothing_more()  # passing 教材辅导在线订购 (a course link) opened nothing
            # A click on empty tree space runs the selected entry.
            last = window.tree()["items"][-1]["rect"]
            click_at(last[0] + 20, last[3] + 40)
            expect_page(COURSE_PAGE)
        screenshot("04-after-arrow-keys")

        self.close_and_wait(program, window)
        wait_recorders_done(self.probe)
        log("tree: main browser pages %r" % [e.value for e in trace.navigations(main)])
        log("tree: shell opens %r" % record.urls())
        self.assertEqual([e.value for e in trace.navigations(main)], pages)
        self.assertEqual(record.urls(), links + [FORUM_BOARD])
        self.assert_counter_once(program, main)


if __name__ == "__main__":
    unittest.main()
