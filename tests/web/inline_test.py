# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's template filled in one pass, each value made safe for its place."""

import unittest

from inline import fill


class FillTest(unittest.TestCase):
    def test_each_value_is_put_in_once_and_safely(self):
        for template, values, page in (
            # A placeholder written inside an earlier value stays as written.
            (
                "@MODULE@ @PAGE_JS@",
                {"MODULE": ("script", "s = '@PAGE_JS@';"), "PAGE_JS": ("script", "go();")},
                "s = '@PAGE_JS@'; go();",
            ),
            (
                "<title>@TITLE@</title>",
                {"TITLE": ("text", 'x<1 & "y"')},
                "<title>x&lt;1 &amp; &quot;y&quot;</title>",
            ),
            # No run of dashes closes the comment, nor do its first and last characters.
            (
                "<!--@L@-->",
                {"L": ("comment", ">a -- b ---> c --!> d <!-- e -")},
                "<!-- >a - - b - - -> c - -!> d <!- - e - -->",
            ),
            ("<!--@L@-->", {"L": ("comment", "->x-")}, "<!-- ->x- -->"),
        ):
            with self.subTest(template=template, values=values):
                self.assertEqual(fill(template, values), page)


if __name__ == "__main__":
    unittest.main()
