#!/usr/bin/python3
"""Writes the bundled data files in data/ in the program's own written form:
one record per line, CR LF after every line, text fields in double quotes,
numbers with at most 15 significant digits (printf's %.15G), unit files in
ascending order of UTF-16 code units and the category list in alphabetical
order.

Factors are the size of one unit in the category's default unit (factor 1).
Exact values come from the 1959 international yard and pound, NIST SP 811
Appendix B and the SI Brochure; the rest are rounded to 15 digits.
"""

from fractions import Fraction as F
import math
import pathlib

INCH = F("0.0254")
FOOT = 12 * INCH
YARD = 3 * FOOT
MILE = 5280 * FOOT
POUND = F("0.45359237")
GRAVITY = F("9.80665")
POUND_FORCE = POUND * GRAVITY
FOOT_POUND = FOOT * POUND_FORCE
US_GALLON_LITERS = 231 * (INCH * 10) ** 3  # 231 cubic inches
BTU_IT = F("1055.05585262")
CALORIE_TH = F("4.184")
MMHG = F("133.322387415")

CATEGORIES = {
    "Angle": {  # default: Degrees
        "Degrees": 1,
        "Gradians": F(9, 10),
        "Milliradians": 180 / math.pi / 1000,
        "Minutes of arc": F(1, 60),
        "Mils (NATO)": F(360, 6400),
        "Quadrants": 90,
        "Radians": 180 / math.pi,
        "Revolutions": 360,
        "Seconds of arc": F(1, 3600),
    },
    "Area": {  # default: Square meters
        "Acres": 4840 * YARD**2,
        "Ares": 100,
        "Hectares": 10000,
        "Square centimeters": F(1, 10000),
        "Square feet": FOOT**2,
        "Square inches": INCH**2,
        "Square kilometers": 1000000,
        "Square meters": 1,
        "Square miles": MILE**2,
        "Square millimeters": F(1, 1000000),
        "Square yards": YARD**2,
    },
    "Data Storage": {  # default: Bytes
        "Bits": F(1, 8),
        "Bytes": 1,
        "Gibibytes": 2**30,
        "Gigabytes": 10**9,
        "Kibibytes": 2**10,
        "Kilobits": 125,
        "Kilobytes": 10**3,
        "Mebibytes": 2**20,
        "Megabits": 125000,
        "Megabytes": 10**6,
        "Petabytes": 10**15,
        "Tebibytes": 2**40,
        "Terabytes": 10**12,
    },
    "Energy": {  # default: Joules
        "British thermal units": BTU_IT,
        "Calories": CALORIE_TH,
        "Electronvolts": F("1.602176634E-19"),
        "Ergs": F(1, 10**7),
        "Foot-pounds": FOOT_POUND,
        "Joules": 1,
        "Kilocalories": 1000 * CALORIE_TH,
        "Kilojoules": 1000,
        "Kilowatt hours": 3600000,
        "Megajoules": 1000000,
        "Therms (US)": 105480400,
        "Watt hours": 3600,
    },
    "Force": {  # default: Newtons
        "Dynes": F(1, 100000),
        "Kilograms-force": GRAVITY,
        "Kilonewtons": 1000,
        "Kips": 1000 * POUND_FORCE,
        "Meganewtons": 1000000,
        "Newtons": 1,
        "Ounces-force": POUND_FORCE / 16,
        "Poundals": POUND * FOOT,
        "Pounds-force": POUND_FORCE,
    },
    "Length": {  # default: Meters
        "Angstroms": F(1, 10**10),
        "Astronomical units": 149597870700,
        "Centimeters": F(1, 100),
        "Chains": 22 * YARD,
        "Fathoms": 2 * YARD,
        "Feet": FOOT,
        "Furlongs": 220 * YARD,
        "Inches": INCH,
        "Kilometers": 1000,
        "Light years": F("9460730472580800"),
        "Meters": 1,
        "Micrometers": F(1, 10**6),
        "Miles": MILE,
        "Millimeters": F(1, 1000),
        "Mils": INCH / 1000,
        "Nanometers": F(1, 10**9),
        "Nautical miles": 1852,
        "Yards": YARD,
    },
    "Power": {  # default: Watts
        "BTUs per hour": BTU_IT / 3600,
        "Foot-pounds per second": FOOT_POUND,
        "Gigawatts": 10**9,
        "Horsepower": 550 * FOOT_POUND,
        "Horsepower (metric)": 75 * GRAVITY,
        "Kilowatts": 1000,
        "Megawatts": 1000000,
        "Milliwatts": F(1, 1000),
        "Tons of refrigeration": 12000 * BTU_IT / 3600,
        "Watts": 1,
    },
    "Pressure": {  # default: Pascals
        "Atmospheres": 101325,
        "Bars": 100000,
        "Hectopascals": 100,
        "Inches of mercury": MMHG * 254 / 10,
        "Kilopascals": 1000,
        "Megapascals": 1000000,
        "Millibars": 100,
        "Millimeters of mercury": MMHG,
        "Pascals": 1,
        "Pounds per square inch": POUND_FORCE / INCH**2,
        "Torr": F(101325, 760),
    },
    "Speed": {  # default: Meters per second
        "Centimeters per second": F(1, 100),
        "Feet per minute": FOOT / 60,
        "Feet per second": FOOT,
        "Inches per second": INCH,
        "Kilometers per hour": F(1000, 3600),
        "Kilometers per second": 1000,
        "Knots": F(1852, 3600),
        "Meters per minute": F(1, 60),
        "Meters per second": 1,
        "Miles per hour": MILE / 3600,
        "Speed of light": 299792458,
    },
    "Time": {  # default: Seconds
        "Common years": 365 * 86400,
        "Days": 86400,
        "Fortnights": 14 * 86400,
        "Hours": 3600,
        "Julian years": F(36525, 100) * 86400,
        "Microseconds": F(1, 10**6),
        "Milliseconds": F(1, 1000),
        "Minutes": 60,
        "Nanoseconds": F(1, 10**9),
        "Seconds": 1,
        "Weeks": 7 * 86400,
    },
    "Volume": {  # default: Liters
        "Barrels (oil)": 42 * US_GALLON_LITERS,
        "Cubic centimeters": F(1, 1000),
        "Cubic feet": (FOOT * 10) ** 3,
        "Cubic inches": (INCH * 10) ** 3,
        "Cubic meters": 1000,
        "Cubic yards": (YARD * 10) ** 3,
        "Imperial fluid ounces": F("4.54609") / 160,
        "Imperial gallons": F("4.54609"),
        "Imperial pints": F("4.54609") / 8,
        "Liters": 1,
        "Milliliters": F(1, 1000),
        "US cups": US_GALLON_LITERS / 16,
        "US fluid ounces": US_GALLON_LITERS / 128,
        "US gallons": US_GALLON_LITERS,
        "US pints": US_GALLON_LITERS / 8,
        "US quarts": US_GALLON_LITERS / 4,
        "US tablespoons": US_GALLON_LITERS / 256,
        "US teaspoons": US_GALLON_LITERS / 768,
    },
    "Weight": {  # default: Kilograms
        "Carats": F(2, 10000),
        "Grains": POUND / 7000,
        "Grams": F(1, 1000),
        "Kilograms": 1,
        "Long tons": 2240 * POUND,
        "Metric tons": 1000,
        "Micrograms": F(1, 10**9),
        "Milligrams": F(1, 10**6),
        "Ounces": POUND / 16,
        "Pounds": POUND,
        "Short tons": 2000 * POUND,
        "Stones": 14 * POUND,
        "Troy ounces": POUND / 7000 * 480,
    },
}


def number(value):
    return "%.15G" % float(value)


def utf16_key(name):
    return name.encode("utf-16-be")


def write(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    path.write_bytes(data)


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "data"
    for category, units in CATEGORIES.items():
        defaults = [name for name, factor in units.items() if factor == 1]
        assert len(defaults) == 1, category
        names = sorted(units, key=utf16_key)
        write(folder / (category + ".txt"), ['"%s",%s' % (n, number(units[n])) for n in names])
    write(folder / "conversion.txt", ['"%s"' % c for c in sorted(CATEGORIES)])


if __name__ == "__main__":
    main()
