"""Unit tests of the history data generator's rules and record layout."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from history_rules import is_real_date                    # noqa: E402
from history_source import HistoryEvent                   # noqa: E402
from history_writer import RuleError, build_data_file     # noqa: E402
from history_scan import check_file, scan_records          # noqa: E402


def event(year=1949, month=10, day=1, title="标题", paragraphs=("正文。",), **fields):
    made = HistoryEvent(year, month, day, title, source="来源", checked="核对",
                        paragraphs=list(paragraphs), origin="t.txt:1")
    for name, value in fields.items():
        setattr(made, name, value)
    return made


class CalendarDates(unittest.TestCase):
    def test_table(self):
        cases = [
            ((1000, 2, 29), True),    # Julian leap year
            ((1500, 2, 29), True),
            ((1582, 10, 4), True),    # last Julian day
            ((1582, 10, 5), False),   # dropped by the reform
            ((1582, 10, 14), False),
            ((1582, 10, 15), True),   # first Gregorian day
            ((1700, 2, 29), False),   # Gregorian century rule
            ((1600, 2, 29), True),
            ((2000, 2, 29), True),
            ((1949, 2, 29), False),
            ((1949, 4, 31), False),
            ((1, 1, 1), True),
            ((0, 1, 1), False),
            ((1949, 13, 1), False),
        ]
        for date, expected in cases:
            with self.subTest(date=date):
                self.assertEqual(is_real_date(*date), expected)


class Generator(unittest.TestCase):
    def test_record_layout_and_order(self):
        data = build_data_file([event(1949, 10, 1, "乙"), event(1911, 10, 10, "丙"),
                                event(618, 10, 1, "甲")])
        text = data.decode("cp936")
        self.assertNotIn("#", text.split("##", 1)[0])
        self.assertTrue(text.endswith("\r\n"))
        self.assertEqual(text.replace("\r\n", "").count("\n"), 0)
        keys = [key for key, _, _ in scan_records(data)]
        self.assertEqual(keys, [6181001, 19491001, 19111010])
        self.assertIn("##19491001 乙\r\n1949年10月1日（公历）\r\n", text)
        self.assertIn("6181001 甲\r\n618年10月1日（儒略历）\r\n", text)

    def test_rule_breaks_name_the_event(self):
        bad = [
            (event(title="a<b"), "title contains '<'"),
            (event(paragraphs=["x & y"]), "paragraph 1 contains '&'"),
            (event(paragraphs=["见##号"]), "two '#' in a row"),
            (event(title=""), "title is empty"),
            (event(title="长" * 61), "longer than 60"),
            (event(1582, 10, 10), "not a real day"),
            (event(paragraphs=["\U0001F600"]), "has no GBK form"),
            (event(paragraphs=[]), "1 to 3 paragraphs"),
            (event(source=""), "source note"),
        ]
        for made, message in bad:
            with self.subTest(message=message):
                with self.assertRaises(RuleError) as raised:
                    build_data_file([event(1911, 10, 10), made])
                self.assertIn(message, str(raised.exception))
                self.assertIn("t.txt:1", str(raised.exception))


class Scanner(unittest.TestCase):
    def test_short_day_and_disorder_are_reported(self):
        data = build_data_file([event(1949, 10, 1), event(1911, 10, 10)])
        swapped = data.replace(b"##19491001", b"##19491011")
        failures, count, smallest = check_file(swapped, 2, 1)
        self.assertEqual(count, 2)
        self.assertEqual(smallest, 0)
        self.assertTrue(any("out of order" in f for f in failures))
        self.assertTrue(any("fewer than 1" in f for f in failures))


if __name__ == "__main__":
    unittest.main()
