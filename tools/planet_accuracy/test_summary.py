#!/usr/bin/env python3
"""Checks of summary's pairing of events and of its statistics (run.sh runs
them before the summary: python3 -m unittest test_summary)."""
import unittest

from summary import Table, classify, wrap

START = 2451544.125  # 0 h local of a date, as a Julian day (UT)
HOUR = 1 / 24
MINUTE = 1 / 1440


def event(t):
    """An almanac event line for local time t on the date."""
    return {"start": START, "end": START + 1, "t": t, "jd": START + t * HOUR}


class ClassifyTest(unittest.TestCase):
    def test_found_by_both(self):
        kind, minutes = classify(event(6.5), START + 6.5 * HOUR + 0.5 * MINUTE)
        self.assertEqual(kind, "both")
        self.assertAlmostEqual(minutes, -0.5, places=6)

    def test_23_is_an_event_only_next_to_23h(self):
        # A reference event a few seconds either side of 23 h: 23.0 was found
        self.assertEqual(classify(event(23.0), START + 23 * HOUR - 0.1 * MINUTE)[0], "both")
        self.assertEqual(classify(event(23.0), START + 23 * HOUR + 0.4 * MINUTE)[0], "both")
        # Elsewhere 23.0 means none
        self.assertEqual(classify(event(23.0), START + 16.5 * HOUR), ("missed", "elsewhere"))
        self.assertEqual(classify(event(23.0), START + 23.99 * HOUR), ("missed", "midnight"))
        self.assertEqual(classify(event(23.0), None), ("none", None))

    def test_events_across_midnight(self):
        # The almanac's event falls just before the end of the date, the
        # reference's on the next date; and the other way round.
        self.assertEqual(classify(event(23.995), None), ("extra", "midnight"))
        self.assertEqual(classify(event(0.0), None), ("extra", "midnight"))
        self.assertEqual(classify(event(12.0), None), ("extra", "elsewhere"))
        self.assertEqual(classify(event(23.0), START + 0.5 * MINUTE), ("missed", "midnight"))


class StatisticsTest(unittest.TestCase):
    def test_wrap_at_360(self):
        # The Sun's longitude is not reduced: 361 against 0.9 is 0.1 apart
        self.assertAlmostEqual(wrap(361.0 - 0.9), 0.1, places=9)
        self.assertAlmostEqual(wrap(0.1 - 359.9), 0.2, places=9)
        self.assertAlmostEqual(wrap(-0.3), -0.3, places=12)
        self.assertEqual(wrap(180.0), 180.0)
        self.assertEqual(wrap(-180.0), 180.0)

    def test_rms_max_mean(self):
        t = Table("t")
        t.add("q", "r", "deg", [3.0, -4.0], 3)
        # RMS sqrt(12.5), largest |4|, mean -0.5 with a minus sign
        self.assertEqual(t.rows[0][3:], ("2", "3.536", "4.000", "\u22120.500"))
        t.add("empty", "r", "deg", [], 3)
        self.assertEqual(t.rows[1][3], "0")
        # A mean that rounds to zero has no sign
        t.add("q", "r", "deg", [-0.0001, 0.00005], 3)
        self.assertEqual(t.rows[2][6], "0.000")


if __name__ == "__main__":
    unittest.main()
