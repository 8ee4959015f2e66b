#!/usr/bin/python3
"""Writes the bundled data files in data/ in the program's own written form:
one record per line, CR LF after every line, text fields in double quotes,
numbers with at most 15 significant digits (printf's %.15G), unit files in
ascending order of UTF-16 code units and the category list in alphabetical
order.

Factors are the size of one unit in the category's default unit (factor 1),
which is the coherent SI unit of the quantity, except in Angle (the degree,
so that degrees, minutes, seconds, gradians and turns convert exactly among
themselves) and Data Storage (the byte; storage has no SI unit). Every factor
is computed as an exact fraction from the definitions below and rounded once,
to the 15 significant digits that the file keeps. Sources:

  SI    the SI Brochure (9th edition, 2019): SI units, prefixes, the exact
        defining constants (c, h, e, N_A), non-SI units accepted for use
  811   NIST Special Publication 811 (2008), Appendix B, "exact" entries;
        the CGS electromagnetic units by their conventional definitions
  1959  the international yard and pound agreement: 1 yd = 0.9144 m,
        1 lb = 0.45359237 kg
  IEC   IEC 80000-13: the byte of 8 bits, the binary prefixes kibi to yobi
  IAU   IAU 2012 Resolution B2 (astronomical unit), 2015 Resolution B2
        (parsec), the Julian year of 365.25 days
  UK    the Weights and Measures Act 1985: 1 imperial gallon = 4.54609 L
"""

from decimal import ROUND_HALF_EVEN, Context, Decimal
from fractions import Fraction as F
import pathlib

# pi to 50 digits, so that rounding to 15 digits is exact.
PI = F("3.14159265358979323846264338327950288419716939937510")

# Exact SI constants (SI).
C = 299792458  # speed of light, m/s
PLANCK = F("6.62607015E-34")  # J s
ELEMENTARY_CHARGE = F("1.602176634E-19")  # C
AVOGADRO = F("6.02214076E23")  # 1/mol

# Lengths (1959, 811, IAU), in meters.
INCH = F("0.0254")
FOOT = 12 * INCH
YARD = 3 * FOOT
MILE = 5280 * FOOT
NAUTICAL_MILE = 1852  # 811, the international nautical mile
SURVEY_FOOT = F(1200, 3937)  # 811, the US survey foot
AU = 149597870700  # IAU 2012
DAY = 86400
JULIAN_YEAR = F(36525, 100) * DAY  # IAU
GREGORIAN_YEAR = F(3652425, 10000) * DAY  # the Gregorian calendar's mean year

# Masses (1959), in kilograms, and forces in newtons.
POUND = F("0.45359237")
GRAIN = POUND / 7000
GRAVITY = F("9.80665")  # 811: standard acceleration of gravity (3rd CGPM, 1901)
POUND_FORCE = POUND * GRAVITY
FOOT_POUND = FOOT * POUND_FORCE
SLUG = POUND_FORCE / FOOT  # 1 lbf s2/ft

# Volumes, in cubic meters.
LITER = F(1, 1000)  # SI: 1 L = 1 dm3
US_GALLON = 231 * INCH**3  # 811: 231 cubic inches
US_BUSHEL = F("2150.42") * INCH**3  # 811: 2150.42 cubic inches
IMPERIAL_GALLON = F("4.54609") * LITER  # UK

# Energy and pressure, in joules and pascals.
BTU_IT = F("1055.05585262")  # 811: International Table Btu
CALORIE_TH = F("4.184")  # 811: thermochemical calorie
CALORIE_IT = F("4.1868")  # 811: International Table calorie
ELECTRONVOLT = ELEMENTARY_CHARGE  # SI: e times 1 V
TNT_TON = F("4.184E9")  # 811: ton of TNT (energy equivalent)
ATMOSPHERE = 101325  # 811: standard atmosphere
MMHG = F("133.322387415")  # 811: conventional, 13.5951 g/cm3 x gn x 1 mm
MMH2O = GRAVITY  # 811: conventional, 1000 kg/m3 x gn x 1 mm

# CGS electromagnetic units by their conventional definitions (811): the
# EMU ("ab") units as powers of ten, the ESU ("stat") units from them through
# the speed of light in centimeters per second.
C_CGS = 100 * C

# IEC 80000-13 binary prefixes.
KIBI, MEBI, GIBI, TEBI, PEBI, EXBI, ZEBI, YOBI = (2 ** (10 * n) for n in range(1, 9))

CATEGORIES = {
    "Absorbed Dose": {  # default: Grays (SI); 811: 1 rad = 0.01 Gy
        "Centigrays": F(1, 100),
        "Ergs per gram": F(1, 10**4),
        "Grays": 1,
        "Kilograys": 1000,
        "Kilorads": 10,
        "Micrograys": F(1, 10**6),
        "Milligrays": F(1, 1000),
        "Millirads": F(1, 10**5),
        "Nanograys": F(1, 10**9),
        "Rads": F(1, 100),
    },
    "Acceleration": {  # default: Meters per second squared (SI); 811: 1 Gal = 1 cm/s2
        "Feet per second squared": FOOT,
        "Gals": F(1, 100),
        "Inches per second squared": INCH,
        "Knots per second": F(NAUTICAL_MILE, 3600),
        "Meters per second squared": 1,
        "Miles per hour per second": MILE / 3600,
        "Milligals": F(1, 10**5),
        "Standard gravities": GRAVITY,
    },
    "Amount of Substance": {  # default: Moles (SI); 1 lb-mol = 453.59237 mol (1959)
        "Femtomoles": F(1, 10**15),
        "Kilomoles": 1000,
        "Micromoles": F(1, 10**6),
        "Millimoles": F(1, 1000),
        "Moles": 1,
        "Nanomoles": F(1, 10**9),
        "Particles": 1 / AVOGADRO,
        "Picomoles": F(1, 10**12),
        "Pound-moles": 1000 * POUND,
    },
    "Angle": {  # default: Degrees; NATO mils 6400 and compass points 32 to the turn
        "Compass points": F(360, 32),
        "Degrees": 1,
        "Gradians": F(9, 10),
        "Microradians": 180 / PI / 10**6,
        "Milliradians": 180 / PI / 1000,
        "Minutes of arc": F(1, 60),
        "Mils (NATO)": F(360, 6400),
        "Octants": 45,
        "Quadrants": 90,
        "Radians": 180 / PI,
        "Revolutions": 360,
        "Seconds of arc": F(1, 3600),
        "Sextants": 60,
        "Signs": 30,
    },
    "Angular Speed": {  # default: Radians per second (SI)
        "Degrees per hour": PI / 180 / 3600,
        "Degrees per minute": PI / 180 / 60,
        "Degrees per second": PI / 180,
        "Gradians per second": PI / 200,
        "Milliradians per second": F(1, 1000),
        "Radians per day": F(1, DAY),
        "Radians per hour": F(1, 3600),
        "Radians per minute": F(1, 60),
        "Radians per second": 1,
        "Revolutions per day": 2 * PI / DAY,
        "Revolutions per hour": 2 * PI / 3600,
        "Revolutions per minute": 2 * PI / 60,
        "Revolutions per second": 2 * PI,
    },
    "Area": {  # default: Square meters (SI); acre, rood, rod and chain of the 1959 yard
        "Acres": 4840 * YARD**2,
        "Ares": 100,
        "Barns": F(1, 10**28),
        "Circular mils": PI / 4 * (INCH / 1000) ** 2,
        "Dunams": 1000,
        "Hectares": 10000,
        "Roods": 1210 * YARD**2,
        "Square centimeters": F(1, 10000),
        "Square chains": (22 * YARD) ** 2,
        "Square decimeters": F(1, 100),
        "Square feet": FOOT**2,
        "Square inches": INCH**2,
        "Square kilometers": 1000000,
        "Square meters": 1,
        "Square micrometers": F(1, 10**12),
        "Square miles": MILE**2,
        "Square millimeters": F(1, 1000000),
        "Square rods": (F(11, 2) * YARD) ** 2,
        "Square yards": YARD**2,
    },
    "Capacitance": {  # default: Farads (SI)
        "Abfarads": 10**9,
        "Farads": 1,
        "Femtofarads": F(1, 10**15),
        "Microfarads": F(1, 10**6),
        "Millifarads": F(1, 1000),
        "Nanofarads": F(1, 10**9),
        "Picofarads": F(1, 10**12),
        "Statfarads": F(10**9, C_CGS**2),
    },
    "Data Rate": {  # default: Bits per second; IEC binary prefixes
        "Bits per second": 1,
        "Bytes per second": 8,
        "Gibibits per second": GIBI,
        "Gibibytes per second": 8 * GIBI,
        "Gigabits per second": 10**9,
        "Gigabytes per second": 8 * 10**9,
        "Kibibits per second": KIBI,
        "Kibibytes per second": 8 * KIBI,
        "Kilobits per second": 1000,
        "Kilobytes per second": 8000,
        "Mebibits per second": MEBI,
        "Mebibytes per second": 8 * MEBI,
        "Megabits per second": 10**6,
        "Megabytes per second": 8 * 10**6,
        "Tebibits per second": TEBI,
        "Terabits per second": 10**12,
        "Terabytes per second": 8 * 10**12,
    },
    "Data Storage": {  # default: Bytes (IEC: 8 bits)
        "Bits": F(1, 8),
        "Bytes": 1,
        "Exabytes": 10**18,
        "Exbibytes": EXBI,
        "Gibibits": F(GIBI, 8),
        "Gibibytes": GIBI,
        "Gigabits": F(10**9, 8),
        "Gigabytes": 10**9,
        "Kibibits": F(KIBI, 8),
        "Kibibytes": KIBI,
        "Kilobits": 125,
        "Kilobytes": 10**3,
        "Mebibits": F(MEBI, 8),
        "Mebibytes": MEBI,
        "Megabits": 125000,
        "Megabytes": 10**6,
        "Nibbles": F(1, 2),
        "Pebibytes": PEBI,
        "Petabytes": 10**15,
        "Tebibytes": TEBI,
        "Terabits": F(10**12, 8),
        "Terabytes": 10**12,
        "Yobibytes": YOBI,
        "Yottabytes": 10**24,
        "Zebibytes": ZEBI,
        "Zettabytes": 10**21,
    },
    "Density": {  # default: Kilograms per cubic meter (SI)
        "Grains per US gallon": GRAIN / US_GALLON,
        "Grams per cubic centimeter": 1000,
        "Grams per cubic meter": F(1, 1000),
        "Kilograms per liter": 1000,
        "Kilograms per cubic meter": 1,
        "Milligrams per liter": F(1, 1000),
        "Ounces per cubic inch": POUND / 16 / INCH**3,
        "Pounds per cubic foot": POUND / FOOT**3,
        "Pounds per cubic inch": POUND / INCH**3,
        "Pounds per imperial gallon": POUND / IMPERIAL_GALLON,
        "Pounds per US gallon": POUND / US_GALLON,
        "Short tons per cubic yard": 2000 * POUND / YARD**3,
        "Slugs per cubic foot": SLUG / FOOT**3,
        "Tonnes per cubic meter": 1000,
    },
    "Dynamic Viscosity": {  # default: Pascal seconds (SI); 811: 1 P = 0.1 Pa s
        "Centipoises": F(1, 1000),
        "Micropoises": F(1, 10**7),
        "Millipascal seconds": F(1, 1000),
        "Pascal seconds": 1,
        "Poises": F(1, 10),
        "Pounds per foot hour": POUND / FOOT / 3600,
        "Pounds per foot second": POUND / FOOT,
        "Reyns": POUND_FORCE / INCH**2,
        "Slugs per foot second": SLUG / FOOT,  # 1 lbf s/ft2
    },
    "Electric Charge": {  # default: Coulombs (SI)
        "Abcoulombs": 10,
        "Ampere hours": 3600,
        "Coulombs": 1,
        "Elementary charges": ELEMENTARY_CHARGE,
        "Faradays": AVOGADRO * ELEMENTARY_CHARGE,
        "Kilocoulombs": 1000,
        "Microcoulombs": F(1, 10**6),
        "Milliampere hours": F(36, 10),
        "Millicoulombs": F(1, 1000),
        "Nanocoulombs": F(1, 10**9),
        "Picocoulombs": F(1, 10**12),
        "Statcoulombs": F(10, C_CGS),
    },
    "Electric Conductance": {  # default: Siemens (SI)
        "Abmhos": 10**9,
        "Kilosiemens": 1000,
        "Microsiemens": F(1, 10**6),
        "Millisiemens": F(1, 1000),
        "Nanosiemens": F(1, 10**9),
        "Picosiemens": F(1, 10**12),
        "Siemens": 1,
        "Statmhos": F(10**9, C_CGS**2),
    },
    "Electric Current": {  # default: Amperes (SI)
        "Abamperes": 10,
        "Amperes": 1,
        "Kiloamperes": 1000,
        "Microamperes": F(1, 10**6),
        "Milliamperes": F(1, 1000),
        "Nanoamperes": F(1, 10**9),
        "Picoamperes": F(1, 10**12),
        "Statamperes": F(10, C_CGS),
    },
    "Electric Potential": {  # default: Volts (SI)
        "Abvolts": F(1, 10**8),
        "Kilovolts": 1000,
        "Megavolts": 10**6,
        "Microvolts": F(1, 10**6),
        "Millivolts": F(1, 1000),
        "Nanovolts": F(1, 10**9),
        "Statvolts": F(C_CGS, 10**8),
        "Volts": 1,
    },
    "Electric Resistance": {  # default: Ohms (SI)
        "Abohms": F(1, 10**9),
        "Gigaohms": 10**9,
        "Kilohms": 1000,
        "Megohms": 10**6,
        "Microohms": F(1, 10**6),
        "Milliohms": F(1, 1000),
        "Ohms": 1,
        "Statohms": F(C_CGS**2, 10**9),
    },
    "Energy": {  # default: Joules (SI)
        "British thermal units": BTU_IT,
        "Calories": CALORIE_TH,
        "Calories (IT)": CALORIE_IT,
        "Electronvolts": ELECTRONVOLT,
        "Ergs": F(1, 10**7),
        "Foot-pounds": FOOT_POUND,
        "Gigaelectronvolts": 10**9 * ELECTRONVOLT,
        "Gigajoules": 10**9,
        "Gigawatt hours": 36 * 10**11,
        "Horsepower hours": 550 * FOOT_POUND * 3600,
        "Inch-pounds": FOOT_POUND / 12,
        "Joules": 1,
        "Kiloelectronvolts": 1000 * ELECTRONVOLT,
        "Kilocalories": 1000 * CALORIE_TH,
        "Kilocalories (IT)": 1000 * CALORIE_IT,
        "Kilojoules": 1000,
        "Kilotons of TNT": 1000 * TNT_TON,
        "Kilowatt hours": 3600000,
        "Liter atmospheres": LITER * ATMOSPHERE,
        "Megaelectronvolts": 10**6 * ELECTRONVOLT,
        "Megajoules": 1000000,
        "Megatons of TNT": 10**6 * TNT_TON,
        "Megawatt hours": 36 * 10**8,
        "Millijoules": F(1, 1000),
        "Quads": 10**15 * BTU_IT,
        "Therms (EC)": 105506000,  # 811
        "Therms (US)": 105480400,  # 811
        "Tonnes of oil equivalent": 10**10 * CALORIE_IT,  # 10 Gcal (IT), by convention
        "Tons of TNT": TNT_TON,
        "Watt hours": 3600,
    },
    "Equivalent Dose": {  # default: Sieverts (SI); 811: 1 rem = 0.01 Sv
        "Centisieverts": F(1, 100),
        "Microrems": F(1, 10**8),
        "Microsieverts": F(1, 10**6),
        "Millirems": F(1, 10**5),
        "Millisieverts": F(1, 1000),
        "Nanosieverts": F(1, 10**9),
        "Rems": F(1, 100),
        "Sieverts": 1,
    },
    "Force": {  # default: Newtons (SI); the sthene of the metre-tonne-second system is 1 kN
        "Dynes": F(1, 100000),
        "Grams-force": GRAVITY / 1000,
        "Kilograms-force": GRAVITY,
        "Kilonewtons": 1000,
        "Kips": 1000 * POUND_FORCE,
        "Long tons-force": 2240 * POUND_FORCE,
        "Meganewtons": 1000000,
        "Micronewtons": F(1, 10**6),
        "Millinewtons": F(1, 1000),
        "Newtons": 1,
        "Ounces-force": POUND_FORCE / 16,
        "Poundals": POUND * FOOT,
        "Pounds-force": POUND_FORCE,
        "Short tons-force": 2000 * POUND_FORCE,
        "Sthenes": 1000,
        "Tonnes-force": 1000 * GRAVITY,
    },
    "Frequency": {  # default: Hertz (SI)
        "Cycles per day": F(1, DAY),
        "Cycles per hour": F(1, 3600),
        "Cycles per minute": F(1, 60),
        "Gigahertz": 10**9,
        "Hertz": 1,
        "Kilohertz": 1000,
        "Megahertz": 10**6,
        "Microhertz": F(1, 10**6),
        "Millihertz": F(1, 1000),
        "Petahertz": 10**15,
        "Terahertz": 10**12,
    },
    "Fuel Consumption": {  # volume per distance; default: Cubic meters per meter (SI)
        "Cubic meters per kilometer": F(1, 1000),
        "Cubic meters per meter": 1,
        "Imperial gallons per mile": IMPERIAL_GALLON / MILE,
        "Liters per 100 kilometers": LITER / 100000,
        "Liters per kilometer": LITER / 1000,
        "Liters per meter": LITER,
        "Milliliters per kilometer": LITER / 10**6,
        "US gallons per 100 miles": US_GALLON / (100 * MILE),
        "US gallons per mile": US_GALLON / MILE,
    },
    "Illuminance": {  # default: Lux (SI); 811: phot, footcandle = 1 lm/ft2; nox = 1 mlx
        "Foot-candles": 1 / FOOT**2,
        "Kilolux": 1000,
        "Lumens per square inch": 1 / INCH**2,
        "Lux": 1,
        "Microlux": F(1, 10**6),
        "Millilux": F(1, 1000),
        "Milliphots": 10,
        "Nox": F(1, 1000),
        "Phots": 10000,
    },
    "Inductance": {  # default: Henries (SI)
        "Abhenries": F(1, 10**9),
        "Henries": 1,
        "Kilohenries": 1000,
        "Microhenries": F(1, 10**6),
        "Millihenries": F(1, 1000),
        "Nanohenries": F(1, 10**9),
        "Picohenries": F(1, 10**12),
        "Stathenries": F(C_CGS**2, 10**9),
    },
    "Kinematic Viscosity": {  # default: Square meters per second (SI); 811: 1 St = 1 cm2/s
        "Centistokes": F(1, 10**6),
        "Millistokes": F(1, 10**7),
        "Square feet per hour": FOOT**2 / 3600,
        "Square feet per second": FOOT**2,
        "Square inches per second": INCH**2,
        "Square meters per hour": F(1, 3600),
        "Square meters per second": 1,
        "Stokes": F(1, 10**4),
    },
    "Length": {  # default: Meters (SI)
        "Angstroms": F(1, 10**10),
        "Astronomical units": AU,
        "Cables": F(NAUTICAL_MILE, 10),  # a tenth of a nautical mile
        "Centimeters": F(1, 100),
        "Chains": 22 * YARD,
        "Decimeters": F(1, 10),
        "Fathoms": 2 * YARD,
        "Feet": FOOT,
        "Femtometers": F(1, 10**15),
        "Furlongs": 220 * YARD,
        "Hands": 4 * INCH,
        "Inches": INCH,
        "Kilometers": 1000,
        "Leagues": 3 * MILE,
        "Light seconds": C,
        "Light years": C * JULIAN_YEAR,
        "Links": F(22, 100) * YARD,
        "Meters": 1,
        "Micrometers": F(1, 10**6),
        "Miles": MILE,
        "Millimeters": F(1, 1000),
        "Mils": INCH / 1000,
        "Nanometers": F(1, 10**9),
        "Nautical miles": NAUTICAL_MILE,
        "Parsecs": 648000 / PI * AU,  # IAU 2015
        "Picas (1/6 inch)": INCH / 6,  # of desktop publishing
        "Picometers": F(1, 10**12),
        "Points (1/72 inch)": INCH / 72,  # of desktop publishing
        "Rods": F(11, 2) * YARD,
        "Twips": INCH / 1440,
        "US survey feet": SURVEY_FOOT,
        "US survey miles": 5280 * SURVEY_FOOT,
        "Yards": YARD,
    },
    "Luminance": {  # default: Candelas per square meter (SI); 811: stilb, lambert, footlambert;
        # the apostilb is 1/pi cd/m2, the skot 1E-03 apostilb
        "Apostilbs": 1 / PI,
        "Candelas per square foot": 1 / FOOT**2,
        "Candelas per square inch": 1 / INCH**2,
        "Candelas per square meter": 1,
        "Foot-lamberts": 1 / (PI * FOOT**2),
        "Lamberts": 10000 / PI,
        "Millilamberts": 10 / PI,
        "Skots": 1 / (PI * 1000),
        "Stilbs": 10000,
    },
    "Magnetic Flux": {  # default: Webers (SI); 811: 1 Mx = 1E-08 Wb, unit pole
        "Kilomaxwells": F(1, 10**5),
        "Kilowebers": 1000,
        "Magnetic flux quanta": PLANCK / (2 * ELEMENTARY_CHARGE),
        "Maxwells": F(1, 10**8),
        "Microwebers": F(1, 10**6),
        "Milliwebers": F(1, 1000),
        "Nanowebers": F(1, 10**9),
        "Unit poles": 4 * PI / 10**8,
        "Webers": 1,
    },
    "Magnetic Flux Density": {  # default: Teslas (SI); 811: 1 G = 1E-04 T
        "Gammas": F(1, 10**9),
        "Gauss": F(1, 10**4),
        "Kilogauss": F(1, 10),
        "Microteslas": F(1, 10**6),
        "Milligauss": F(1, 10**7),
        "Milliteslas": F(1, 1000),
        "Nanoteslas": F(1, 10**9),
        "Picoteslas": F(1, 10**12),
        "Teslas": 1,
    },
    "Mass Flow Rate": {  # default: Kilograms per second (SI)
        "Grams per hour": F(1, 1000 * 3600),
        "Grams per minute": F(1, 1000 * 60),
        "Grams per second": F(1, 1000),
        "Kilograms per day": F(1, DAY),
        "Kilograms per hour": F(1, 3600),
        "Kilograms per minute": F(1, 60),
        "Kilograms per second": 1,
        "Pounds per hour": POUND / 3600,
        "Pounds per minute": POUND / 60,
        "Pounds per second": POUND,
        "Short tons per hour": 2000 * POUND / 3600,
        "Slugs per second": SLUG,
        "Tonnes per day": F(1000, DAY),
        "Tonnes per hour": F(1000, 3600),
    },
    "Power": {  # default: Watts (SI)
        "BTUs per hour": BTU_IT / 3600,
        "BTUs per minute": BTU_IT / 60,
        "BTUs per second": BTU_IT,
        "Calories per second": CALORIE_TH,
        "Ergs per second": F(1, 10**7),
        "Foot-pounds per minute": FOOT_POUND / 60,
        "Foot-pounds per second": FOOT_POUND,
        "Gigawatts": 10**9,
        "Horsepower": 550 * FOOT_POUND,
        "Horsepower (electric)": 746,  # 811
        "Horsepower (metric)": 75 * GRAVITY,
        "Kilocalories per hour": 1000 * CALORIE_IT / 3600,
        "Kilowatts": 1000,
        "Megawatts": 1000000,
        "Microwatts": F(1, 10**6),
        "Milliwatts": F(1, 1000),
        "Terawatts": 10**12,
        "Tons of refrigeration": 12000 * BTU_IT / 3600,
        "Watts": 1,
    },
    "Pressure": {  # default: Pascals (SI); mercury and water columns conventional (811)
        "Atmospheres": ATMOSPHERE,
        "Bars": 100000,
        "Baryes": F(1, 10),
        "Centimeters of mercury": 10 * MMHG,
        "Feet of water": 12 * 254 * MMH2O / 10,
        "Gigapascals": 10**9,
        "Hectopascals": 100,
        "Inches of mercury": MMHG * 254 / 10,
        "Inches of water": MMH2O * 254 / 10,
        "Kilopascals": 1000,
        "Kips per square inch": 1000 * POUND_FORCE / INCH**2,
        "Megapascals": 1000000,
        "Millibars": 100,
        "Millimeters of mercury": MMHG,
        "Millimeters of water": MMH2O,
        "Millitorr": F(ATMOSPHERE, 760000),
        "Pascals": 1,
        "Pounds per square foot": POUND_FORCE / FOOT**2,
        "Pounds per square inch": POUND_FORCE / INCH**2,
        "Technical atmospheres": GRAVITY * 10000,
        "Torr": F(ATMOSPHERE, 760),
    },
    "Radioactivity": {  # default: Becquerels (SI); 811: 1 Ci = 3.7E+10 Bq
        "Becquerels": 1,
        "Curies": 37 * 10**9,
        "Disintegrations per minute": F(1, 60),
        "Gigabecquerels": 10**9,
        "Kilobecquerels": 1000,
        "Megabecquerels": 10**6,
        "Microcuries": 37 * 10**3,
        "Millicuries": 37 * 10**6,
        "Nanocuries": 37,
        "Picocuries": F(37, 1000),
        "Rutherfords": 10**6,
        "Terabecquerels": 10**12,
    },
    "Speed": {  # default: Meters per second (SI)
        "Centimeters per second": F(1, 100),
        "Feet per hour": FOOT / 3600,
        "Feet per minute": FOOT / 60,
        "Feet per second": FOOT,
        "Furlongs per fortnight": 220 * YARD / (14 * DAY),
        "Inches per minute": INCH / 60,
        "Inches per second": INCH,
        "Kilometers per hour": F(1000, 3600),
        "Kilometers per minute": F(1000, 60),
        "Kilometers per second": 1000,
        "Knots": F(NAUTICAL_MILE, 3600),
        "Meters per hour": F(1, 3600),
        "Meters per minute": F(1, 60),
        "Meters per second": 1,
        "Miles per hour": MILE / 3600,
        "Miles per minute": MILE / 60,
        "Miles per second": MILE,
        "Millimeters per second": F(1, 1000),
        "Speed of light": C,
        "Yards per second": YARD,
    },
    # Sizes of one degree of each scale, for differences of temperature: an
    # absolute temperature needs an offset, which a factor cannot carry. The
    # degree Celsius is the kelvin by definition (SI), so both have factor 1.
    "Temperature Difference": {  # default: Kelvins (SI)
        "Degrees Celsius": 1,
        "Degrees Fahrenheit": F(5, 9),
        "Degrees Rankine": F(5, 9),
        "Degrees Reaumur": F(5, 4),  # 80 degrees from freezing to boiling
        "Kelvins": 1,
        "Microkelvins": F(1, 10**6),
        "Millikelvins": F(1, 1000),
        "Nanokelvins": F(1, 10**9),
    },
    "Time": {  # default: Seconds (SI); months (a twelfth) to millennia of Gregorian years
        "Centuries": 100 * GREGORIAN_YEAR,
        "Common years": 365 * DAY,
        "Days": DAY,
        "Decades": 10 * GREGORIAN_YEAR,
        "Femtoseconds": F(1, 10**15),
        "Fortnights": 14 * DAY,
        "Gregorian years": GREGORIAN_YEAR,
        "Hours": 3600,
        "Julian years": JULIAN_YEAR,
        "Leap years": 366 * DAY,
        "Microseconds": F(1, 10**6),
        "Millennia": 1000 * GREGORIAN_YEAR,
        "Milliseconds": F(1, 1000),
        "Minutes": 60,
        "Months (average)": GREGORIAN_YEAR / 12,
        "Nanoseconds": F(1, 10**9),
        "Picoseconds": F(1, 10**12),
        "Seconds": 1,
        "Shakes": F(1, 10**8),  # 811
        "Weeks": 7 * DAY,
    },
    "Torque": {  # default: Newton meters (SI)
        "Dyne centimeters": F(1, 10**7),
        "Gram-force centimeters": GRAVITY / 10**5,
        "Kilogram-force centimeters": GRAVITY / 100,
        "Kilogram-force meters": GRAVITY,
        "Kilonewton meters": 1000,
        "Newton centimeters": F(1, 100),
        "Newton meters": 1,
        "Newton millimeters": F(1, 1000),
        "Ounce-force inches": POUND_FORCE / 16 * INCH,
        "Pound-force feet": FOOT_POUND,
        "Pound-force inches": POUND_FORCE * INCH,
    },
    "Volume": {  # default: Cubic meters (SI)
        "Acre-feet": 43560 * FOOT**3,
        "Barrels (oil)": 42 * US_GALLON,
        "Centiliters": LITER / 100,
        "Cubic centimeters": F(1, 10**6),
        "Cubic feet": FOOT**3,
        "Cubic inches": INCH**3,
        "Cubic meters": 1,
        "Cubic millimeters": F(1, 10**9),
        "Cubic yards": YARD**3,
        "Deciliters": LITER / 10,
        "Hectoliters": 100 * LITER,
        "Imperial bushels": 8 * IMPERIAL_GALLON,
        "Imperial fluid ounces": IMPERIAL_GALLON / 160,
        "Imperial gallons": IMPERIAL_GALLON,
        "Imperial gills": IMPERIAL_GALLON / 32,
        "Imperial pints": IMPERIAL_GALLON / 8,
        "Imperial quarts": IMPERIAL_GALLON / 4,
        "Liters": LITER,
        "Microliters": LITER / 10**6,
        "Milliliters": LITER / 1000,
        "US bushels": US_BUSHEL,
        "US cups": US_GALLON / 16,
        "US dry pints": US_BUSHEL / 64,
        "US dry quarts": US_BUSHEL / 32,
        "US fluid ounces": US_GALLON / 128,
        "US gallons": US_GALLON,
        "US gills": US_GALLON / 32,
        "US pecks": US_BUSHEL / 4,
        "US pints": US_GALLON / 8,
        "US quarts": US_GALLON / 4,
        "US tablespoons": US_GALLON / 256,
        "US teaspoons": US_GALLON / 768,
    },
    "Volume Flow Rate": {  # default: Cubic meters per second (SI)
        "Barrels (oil) per day": 42 * US_GALLON / DAY,
        "Cubic feet per hour": FOOT**3 / 3600,
        "Cubic feet per minute": FOOT**3 / 60,
        "Cubic feet per second": FOOT**3,
        "Cubic meters per day": F(1, DAY),
        "Cubic meters per hour": F(1, 3600),
        "Cubic meters per minute": F(1, 60),
        "Cubic meters per second": 1,
        "Imperial gallons per hour": IMPERIAL_GALLON / 3600,
        "Imperial gallons per minute": IMPERIAL_GALLON / 60,
        "Liters per hour": LITER / 3600,
        "Liters per minute": LITER / 60,
        "Liters per second": LITER,
        "Milliliters per minute": LITER / 1000 / 60,
        "US gallons per day": US_GALLON / DAY,
        "US gallons per hour": US_GALLON / 3600,
        "US gallons per minute": US_GALLON / 60,
        "US gallons per second": US_GALLON,
    },
    "Weight": {  # default: Kilograms (SI); avoirdupois, troy and apothecaries' of the 1959 pound
        "Carats": F(2, 10000),
        "Centigrams": F(1, 10**5),
        "Drams": POUND / 256,
        "Grains": GRAIN,
        "Grams": F(1, 1000),
        "Hundredweights (long)": 112 * POUND,
        "Hundredweights (short)": 100 * POUND,
        "Kilograms": 1,
        "Long tons": 2240 * POUND,
        "Metric tons": 1000,
        "Micrograms": F(1, 10**9),
        "Milligrams": F(1, 10**6),
        "Nanograms": F(1, 10**12),
        "Ounces": POUND / 16,
        "Pennyweights": 24 * GRAIN,
        "Pounds": POUND,
        "Quintals": 100,
        "Scruples": 20 * GRAIN,
        "Short tons": 2000 * POUND,
        "Slugs": SLUG,
        "Stones": 14 * POUND,
        "Troy ounces": 480 * GRAIN,
        "Troy pounds": 5760 * GRAIN,
    },
}

# Units of exactly the default unit's size under another name.
SAME_SIZE_AS_DEFAULT = {"Temperature Difference": {"Degrees Celsius"}}


def rounded(value):
    """The exact value rounded once to 15 significant digits."""
    value = F(value)
    context = Context(prec=15, rounding=ROUND_HALF_EVEN)
    return context.divide(Decimal(value.numerator), Decimal(value.denominator))


def number(value):
    return "%.15G" % float(value)


def utf16_key(name):
    return name.encode("utf-16-be")


def write(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    path.write_bytes(data)


def check(category, units):
    # The unit lists and their text fields show about 27 characters.
    assert all(len(name) <= 27 for name in list(units) + [category]), category
    # A category name must name a file on Windows too.
    assert not any(c in '\\/:*?"<>|' for c in category), category
    assert category == category.strip(" .") and category.isprintable(), category
    defaults = {name for name, factor in units.items() if factor == 1}
    assert len(defaults) == 1 + len(SAME_SIZE_AS_DEFAULT.get(category, ())), category
    assert 8 <= len(units) <= 32767, category
    for name, factor in units.items():
        assert name and '"' not in name and name.isprintable(), name
        assert factor > 0, name


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "data"
    categories = sorted(CATEGORIES, key=utf16_key)
    # The program writes the category list in the list's order, without
    # regard to case: these names sort alike either way.
    assert categories == sorted(CATEGORIES, key=str.casefold)
    assert len({c.casefold() for c in categories}) == len(categories)
    for category in categories:
        units = CATEGORIES[category]
        check(category, units)
        names = sorted(units, key=utf16_key)
        lines = []
        for name in names:
            text = number(rounded(units[name]))
            assert Decimal(text) == rounded(units[name]), name  # %.15G loses nothing
            lines.append('"%s",%s' % (name, text))
        write(folder / (category + ".txt"), lines)
    write(folder / "conversion.txt", ['"%s"' % c for c in categories])


if __name__ == "__main__":
    main()
