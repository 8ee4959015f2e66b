#!/usr/bin/python3
"""Cross-checks every factor of the bundled data files with GNU units
(Debian package "units"): each unit is converted by GNU units into its
category's default unit and compared with the factor in data/.

Usage: scripts/check-data.py      (exit status 1 on any difference)

GNU units computes in double precision and prints 15 digits, so a factor
may differ from its result in the last digit; a relative difference above
1E-14 is reported.
"""

import glob
import os
import subprocess
import sys
from decimal import Decimal

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")

# The default unit of each category.
DEFAULT = {
    "Absorbed Dose": "Gy", "Acceleration": "m/s^2", "Amount of Substance": "mol", "Angle": "degree",
    "Angular Speed": "radian/s", "Area": "m^2", "Capacitance": "F", "Data Rate": "bit/s",
    "Data Storage": "byte", "Density": "kg/m^3", "Dynamic Viscosity": "Pa s",
    "Electric Charge": "C", "Electric Conductance": "S", "Electric Current": "A",
    "Electric Potential": "V", "Electric Resistance": "ohm", "Energy": "J", "Equivalent Dose": "Sv",
    "Force": "N", "Frequency": "Hz", "Fuel Consumption": "m^3/m", "Illuminance": "lux",
    "Inductance": "H", "Kinematic Viscosity": "m^2/s", "Length": "m", "Luminance": "cd/m^2",
    "Magnetic Flux": "Wb", "Magnetic Flux Density": "T", "Mass Flow Rate": "kg/s", "Power": "W",
    "Pressure": "Pa", "Radioactivity": "Bq", "Speed": "m/s", "Temperature Difference": "K",
    "Time": "s", "Torque": "N m", "Volume": "m^3", "Volume Flow Rate": "m^3/s", "Weight": "kg",
}

# Each unit as a GNU units expression. Where GNU units defines a name
# otherwise (its parsec from tan(1"), its decade of tropical years, its
# printer's pica, its gamma of mass), the expression spells out the
# definition that make-data.py uses.
EXPRESSIONS = {
    # Absorbed Dose
    "Centigrays": "cGy", "Ergs per gram": "erg/g", "Grays": "Gy", "Kilograys": "kGy",
    "Kilorads": "1000 rad", "Micrograys": "microGy", "Milligrays": "mGy", "Millirads": "0.001 rad",
    "Nanograys": "nGy", "Rads": "rad",
    # Acceleration
    "Feet per second squared": "ft/s^2", "Gals": "Gal", "Inches per second squared": "inch/s^2",
    "Knots per second": "knot/s", "Meters per second squared": "m/s^2",
    "Miles per hour per second": "mph/s", "Milligals": "milliGal", "Standard gravities": "gravity",
    # Amount of Substance
    "Femtomoles": "fmol", "Kilomoles": "kmol", "Micromoles": "micromol", "Millimoles": "mmol",
    "Moles": "mol", "Nanomoles": "nmol", "Particles": "1/avogadro", "Picomoles": "pmol",
    "Pound-moles": "mol lb/g",
    # Angle
    "Compass points": "circle/32", "Degrees": "degree", "Gradians": "gon",
    "Microradians": "microradian", "Milliradians": "milliradian", "Mils (NATO)": "circle/6400",
    "Minutes of arc": "arcmin", "Octants": "circle/8", "Quadrants": "quadrant", "Radians": "radian",
    "Revolutions": "circle", "Seconds of arc": "arcsec", "Sextants": "circle/6",
    "Signs": "circle/12",
    # Angular Speed
    "Degrees per hour": "degree/hr", "Degrees per minute": "degree/min",
    "Degrees per second": "degree/s", "Gradians per second": "gon/s",
    "Milliradians per second": "milliradian/s", "Radians per day": "radian/day",
    "Radians per hour": "radian/hr", "Radians per minute": "radian/min",
    "Radians per second": "radian/s", "Revolutions per day": "circle/day",
    "Revolutions per hour": "circle/hr", "Revolutions per minute": "circle/min",
    "Revolutions per second": "circle/s",
    # Area
    "Acres": "4840 yd^2", "Ares": "are", "Barns": "barn", "Circular mils": "circularmil",
    "Dunams": "1000 m^2", "Hectares": "hectare", "Roods": "1210 yd^2", "Square centimeters": "cm^2",
    "Square chains": "(66 ft)^2", "Square decimeters": "dm^2", "Square feet": "ft^2",
    "Square inches": "inch^2", "Square kilometers": "km^2", "Square meters": "m^2",
    "Square micrometers": "micron^2", "Square miles": "mile^2", "Square millimeters": "mm^2",
    "Square rods": "(16.5 ft)^2", "Square yards": "yd^2",
    # Capacitance
    "Abfarads": "abfarad", "Farads": "F", "Femtofarads": "fF", "Microfarads": "microF",
    "Millifarads": "mF", "Nanofarads": "nF", "Picofarads": "pF", "Statfarads": "statfarad",
    # Data Rate
    "Bits per second": "bit/s", "Bytes per second": "byte/s", "Gibibits per second": "Gibit/s",
    "Gibibytes per second": "GiB/s", "Gigabits per second": "Gbit/s",
    "Gigabytes per second": "GB/s", "Kibibits per second": "Kibit/s",
    "Kibibytes per second": "KiB/s", "Kilobits per second": "kbit/s",
    "Kilobytes per second": "kB/s", "Mebibits per second": "Mibit/s",
    "Mebibytes per second": "MiB/s", "Megabits per second": "Mbit/s",
    "Megabytes per second": "MB/s", "Tebibits per second": "Tibit/s",
    "Terabits per second": "Tbit/s", "Terabytes per second": "TB/s",
    # Data Storage
    "Bits": "bit", "Bytes": "byte", "Exabytes": "EB", "Exbibytes": "EiB", "Gibibits": "Gibit",
    "Gibibytes": "GiB", "Gigabits": "Gbit", "Gigabytes": "GB", "Kibibits": "Kibit",
    "Kibibytes": "KiB", "Kilobits": "kbit", "Kilobytes": "kB", "Mebibits": "Mibit",
    "Mebibytes": "MiB", "Megabits": "Mbit", "Megabytes": "MB", "Nibbles": "nibble",
    "Pebibytes": "PiB", "Petabytes": "PB", "Tebibytes": "TiB", "Terabits": "Tbit",
    "Terabytes": "TB", "Yobibytes": "YiB", "Yottabytes": "YB", "Zebibytes": "ZiB",
    "Zettabytes": "ZB",
    # Density
    "Grains per US gallon": "grain/usgallon", "Grams per cubic centimeter": "g/cm^3",
    "Grams per cubic meter": "g/m^3", "Kilograms per cubic meter": "kg/m^3",
    "Kilograms per liter": "kg/liter", "Milligrams per liter": "mg/liter",
    "Ounces per cubic inch": "oz/inch^3", "Pounds per US gallon": "lb/usgallon",
    "Pounds per cubic foot": "lb/ft^3", "Pounds per cubic inch": "lb/inch^3",
    "Pounds per imperial gallon": "lb/brgallon", "Short tons per cubic yard": "shortton/yd^3",
    "Slugs per cubic foot": "slug/ft^3", "Tonnes per cubic meter": "tonne/m^3",
    # Dynamic Viscosity
    "Centipoises": "centipoise", "Micropoises": "micropoise", "Millipascal seconds": "mPa s",
    "Pascal seconds": "Pa s", "Poises": "poise", "Pounds per foot hour": "lb/(ft hr)",
    "Pounds per foot second": "lb/(ft s)", "Reyns": "reyn", "Slugs per foot second": "slug/(ft s)",
    # Electric Charge
    "Abcoulombs": "abcoulomb", "Ampere hours": "A hr", "Coulombs": "C", "Elementary charges": "e",
    "Faradays": "faraday", "Kilocoulombs": "kC", "Microcoulombs": "microC",
    "Milliampere hours": "mA hr", "Millicoulombs": "mC", "Nanocoulombs": "nC", "Picocoulombs": "pC",
    "Statcoulombs": "statcoulomb",
    # Electric Conductance
    "Abmhos": "abmho", "Kilosiemens": "kS", "Microsiemens": "microS", "Millisiemens": "mS",
    "Nanosiemens": "nS", "Picosiemens": "pS", "Siemens": "S", "Statmhos": "statmho",
    # Electric Current
    "Abamperes": "abampere", "Amperes": "A", "Kiloamperes": "kA", "Microamperes": "microA",
    "Milliamperes": "mA", "Nanoamperes": "nA", "Picoamperes": "pA", "Statamperes": "statampere",
    # Electric Potential
    "Abvolts": "abvolt", "Kilovolts": "kV", "Megavolts": "MV", "Microvolts": "microV",
    "Millivolts": "mV", "Nanovolts": "nV", "Statvolts": "statvolt", "Volts": "V",
    # Electric Resistance
    "Abohms": "abohm", "Gigaohms": "Gohm", "Kilohms": "kohm", "Megohms": "Mohm",
    "Microohms": "microohm", "Milliohms": "mohm", "Ohms": "ohm", "Statohms": "statohm",
    # Energy
    "British thermal units": "btu", "Calories": "calorie_th", "Calories (IT)": "calorie_IT",
    "Electronvolts": "eV", "Ergs": "erg", "Foot-pounds": "ft lbf", "Gigaelectronvolts": "GeV",
    "Gigajoules": "GJ", "Gigawatt hours": "GW hr", "Horsepower hours": "hp hr",
    "Inch-pounds": "inch lbf", "Joules": "J", "Kilocalories": "kilocalorie_th",
    "Kilocalories (IT)": "kilocalorie_IT", "Kiloelectronvolts": "keV", "Kilojoules": "kJ",
    "Kilotons of TNT": "kiloton tnt", "Kilowatt hours": "kWh", "Liter atmospheres": "liter atm",
    "Megaelectronvolts": "MeV", "Megajoules": "MJ", "Megatons of TNT": "megaton tnt",
    "Megawatt hours": "MW hr", "Millijoules": "mJ", "Quads": "quad", "Therms (EC)": "105506000 J",
    "Therms (US)": "therm", "Tonnes of oil equivalent": "toe", "Tons of TNT": "ton tnt",
    "Watt hours": "W hr",
    # Equivalent Dose
    "Centisieverts": "cSv", "Microrems": "microrem", "Microsieverts": "microSv",
    "Millirems": "millirem", "Millisieverts": "mSv", "Nanosieverts": "nSv", "Rems": "rem",
    "Sieverts": "Sv",
    # Force
    "Dynes": "dyne", "Grams-force": "gram force", "Kilograms-force": "kgf", "Kilonewtons": "kN",
    "Kips": "kip", "Long tons-force": "longton force", "Meganewtons": "MN",
    "Micronewtons": "microN", "Millinewtons": "mN", "Newtons": "N", "Ounces-force": "ounce force",
    "Poundals": "poundal", "Pounds-force": "lbf", "Short tons-force": "shortton force",
    "Sthenes": "sthene", "Tonnes-force": "tonne force",
    # Frequency
    "Cycles per day": "1/day", "Cycles per hour": "1/hr", "Cycles per minute": "1/min",
    "Gigahertz": "GHz", "Hertz": "Hz", "Kilohertz": "kHz", "Megahertz": "MHz",
    "Microhertz": "microHz", "Millihertz": "mHz", "Petahertz": "PHz", "Terahertz": "THz",
    # Fuel Consumption
    "Cubic meters per kilometer": "m^3/km", "Cubic meters per meter": "m^3/m",
    "Imperial gallons per mile": "brgallon/mile", "Liters per 100 kilometers": "liter/(100 km)",
    "Liters per kilometer": "liter/km", "Liters per meter": "liter/m",
    "Milliliters per kilometer": "ml/km", "US gallons per 100 miles": "usgallon/(100 mile)",
    "US gallons per mile": "usgallon/mile",
    # Illuminance
    "Foot-candles": "footcandle", "Kilolux": "klux", "Lumens per square inch": "lumen/inch^2",
    "Lux": "lux", "Microlux": "microlux", "Millilux": "mlux", "Milliphots": "milliphot",
    "Nox": "nox", "Phots": "phot",
    # Inductance
    "Abhenries": "abhenry", "Henries": "H", "Kilohenries": "kH", "Microhenries": "microH",
    "Millihenries": "mH", "Nanohenries": "nH", "Picohenries": "picohenry",
    "Stathenries": "stathenry",
    # Kinematic Viscosity
    "Centistokes": "centistokes", "Millistokes": "millistokes", "Square feet per hour": "ft^2/hr",
    "Square feet per second": "ft^2/s", "Square inches per second": "inch^2/s",
    "Square meters per hour": "m^2/hr", "Square meters per second": "m^2/s", "Stokes": "stokes",
    # Length
    "Angstroms": "angstrom", "Astronomical units": "au", "Cables": "0.1 nmi", "Centimeters": "cm",
    "Chains": "66 ft", "Decimeters": "dm", "Fathoms": "fathom", "Feet": "ft", "Femtometers": "fm",
    "Furlongs": "660 ft", "Hands": "hand", "Inches": "inch", "Kilometers": "km",
    "Leagues": "3 mile", "Light seconds": "c s", "Light years": "lightyear", "Links": "0.66 ft",
    "Meters": "m", "Micrometers": "micron", "Miles": "mile", "Millimeters": "mm", "Mils": "mil",
    "Nanometers": "nm", "Nautical miles": "nmi", "Parsecs": "648000 au / pi",
    "Picas (1/6 inch)": "computerpica", "Picometers": "pm", "Points (1/72 inch)": "point",
    "Rods": "16.5 ft", "Twips": "twip", "US survey feet": "US ft", "US survey miles": "US mile",
    "Yards": "yard",
    # Luminance
    "Apostilbs": "apostilb", "Candelas per square foot": "cd/ft^2",
    "Candelas per square inch": "cd/inch^2", "Candelas per square meter": "cd/m^2",
    "Foot-lamberts": "footlambert", "Lamberts": "lambert", "Millilamberts": "millilambert",
    "Skots": "skot", "Stilbs": "stilb",
    # Magnetic Flux Density
    "Gammas": "nT", "Gauss": "gauss", "Kilogauss": "kilogauss", "Microteslas": "microT",
    "Milligauss": "milligauss", "Milliteslas": "mT", "Nanoteslas": "nT", "Picoteslas": "pT",
    "Teslas": "T",
    # Magnetic Flux
    "Kilomaxwells": "kilomaxwell", "Kilowebers": "kWb", "Magnetic flux quanta": "h/(2 e)",
    "Maxwells": "maxwell", "Microwebers": "microWb", "Milliwebers": "mWb", "Nanowebers": "nWb",
    "Unit poles": "unitpole", "Webers": "Wb",
    # Mass Flow Rate
    "Grams per hour": "g/hr", "Grams per minute": "g/min", "Grams per second": "g/s",
    "Kilograms per day": "kg/day", "Kilograms per hour": "kg/hr", "Kilograms per minute": "kg/min",
    "Kilograms per second": "kg/s", "Pounds per hour": "lb/hr", "Pounds per minute": "lb/min",
    "Pounds per second": "lb/s", "Short tons per hour": "shortton/hr", "Slugs per second": "slug/s",
    "Tonnes per day": "tonne/day", "Tonnes per hour": "tonne/hr",
    # Power
    "BTUs per hour": "btu/hr", "BTUs per minute": "btu/min", "BTUs per second": "btu/s",
    "Calories per second": "calorie_th/s", "Ergs per second": "erg/s",
    "Foot-pounds per minute": "ft lbf/min", "Foot-pounds per second": "ft lbf/s", "Gigawatts": "GW",
    "Horsepower": "hp", "Horsepower (electric)": "electrichorsepower",
    "Horsepower (metric)": "metrichorsepower", "Kilocalories per hour": "kilocalorie_IT/hr",
    "Kilowatts": "kW", "Megawatts": "MW", "Microwatts": "microW", "Milliwatts": "mW",
    "Terawatts": "TW", "Tons of refrigeration": "tonref", "Watts": "W",
    # Pressure
    "Atmospheres": "atm", "Bars": "bar", "Baryes": "barye", "Centimeters of mercury": "cm Hg",
    "Feet of water": "ft H2O", "Gigapascals": "GPa", "Hectopascals": "hPa",
    "Inches of mercury": "inHg", "Inches of water": "inH2O", "Kilopascals": "kPa",
    "Kips per square inch": "ksi", "Megapascals": "MPa", "Millibars": "mbar",
    "Millimeters of mercury": "mmHg", "Millimeters of water": "mmH2O", "Millitorr": "millitorr",
    "Pascals": "Pa", "Pounds per square foot": "lbf/ft^2", "Pounds per square inch": "psi",
    "Technical atmospheres": "at", "Torr": "torr",
    # Radioactivity
    "Becquerels": "Bq", "Curies": "Ci", "Disintegrations per minute": "1/min",
    "Gigabecquerels": "GBq", "Kilobecquerels": "kBq", "Megabecquerels": "MBq",
    "Microcuries": "microCi", "Millicuries": "mCi", "Nanocuries": "nCi", "Picocuries": "pCi",
    "Rutherfords": "rutherford", "Terabecquerels": "TBq",
    # Speed
    "Centimeters per second": "cm/s", "Feet per hour": "ft/hr", "Feet per minute": "ft/min",
    "Feet per second": "ft/s", "Furlongs per fortnight": "furlong/fortnight",
    "Inches per minute": "inch/min", "Inches per second": "inch/s", "Kilometers per hour": "km/hr",
    "Kilometers per minute": "km/min", "Kilometers per second": "km/s", "Knots": "knot",
    "Meters per hour": "m/hr", "Meters per minute": "m/min", "Meters per second": "m/s",
    "Miles per hour": "mph", "Miles per minute": "mile/min", "Miles per second": "mile/s",
    "Millimeters per second": "mm/s", "Speed of light": "c", "Yards per second": "yd/s",
    # Temperature Difference
    "Degrees Celsius": "degC", "Degrees Fahrenheit": "degF", "Degrees Rankine": "degR",
    "Degrees Reaumur": "degreaumur", "Kelvins": "K", "Microkelvins": "microK", "Millikelvins": "mK",
    "Nanokelvins": "nK",
    # Time
    "Centuries": "100 gregorianyear", "Common years": "commonyear", "Days": "day",
    "Decades": "10 gregorianyear", "Femtoseconds": "fs", "Fortnights": "fortnight",
    "Gregorian years": "gregorianyear", "Hours": "hr", "Julian years": "julianyear",
    "Leap years": "leapyear", "Microseconds": "microsecond", "Millennia": "1000 gregorianyear",
    "Milliseconds": "ms", "Minutes": "min", "Months (average)": "gregorianyear/12",
    "Nanoseconds": "ns", "Picoseconds": "ps", "Seconds": "s", "Shakes": "shake", "Weeks": "week",
    # Torque
    "Dyne centimeters": "dyne cm", "Gram-force centimeters": "gram force cm",
    "Kilogram-force centimeters": "kgf cm", "Kilogram-force meters": "kgf m",
    "Kilonewton meters": "kN m", "Newton centimeters": "N cm", "Newton meters": "N m",
    "Newton millimeters": "N mm", "Ounce-force inches": "ounce force inch",
    "Pound-force feet": "lbf ft", "Pound-force inches": "lbf inch",
    # Volume Flow Rate
    "Barrels (oil) per day": "petroleumbarrel/day", "Cubic feet per hour": "ft^3/hr",
    "Cubic feet per minute": "ft^3/min", "Cubic feet per second": "ft^3/s",
    "Cubic meters per day": "m^3/day", "Cubic meters per hour": "m^3/hr",
    "Cubic meters per minute": "m^3/min", "Cubic meters per second": "m^3/s",
    "Imperial gallons per hour": "brgallon/hr", "Imperial gallons per minute": "brgallon/min",
    "Liters per hour": "liter/hr", "Liters per minute": "liter/min", "Liters per second": "liter/s",
    "Milliliters per minute": "ml/min", "US gallons per day": "usgallon/day",
    "US gallons per hour": "usgallon/hr", "US gallons per minute": "usgallon/min",
    "US gallons per second": "usgallon/s",
    # Volume
    "Acre-feet": "43560 ft^3", "Barrels (oil)": "petroleumbarrel", "Centiliters": "cl",
    "Cubic centimeters": "cm^3", "Cubic feet": "ft^3", "Cubic inches": "inch^3",
    "Cubic meters": "m^3", "Cubic millimeters": "mm^3", "Cubic yards": "yd^3", "Deciliters": "dl",
    "Hectoliters": "hl", "Imperial bushels": "brbushel", "Imperial fluid ounces": "brfloz",
    "Imperial gallons": "brgallon", "Imperial gills": "brgill", "Imperial pints": "brpint",
    "Imperial quarts": "brquart", "Liters": "liter", "Microliters": "microliter",
    "Milliliters": "ml", "US bushels": "bushel", "US cups": "uscup", "US dry pints": "drypint",
    "US dry quarts": "dryquart", "US fluid ounces": "usfloz", "US gallons": "usgallon",
    "US gills": "usgill", "US pecks": "peck", "US pints": "uspint", "US quarts": "usquart",
    "US tablespoons": "ustablespoon", "US teaspoons": "usteaspoon",
    # Weight
    "Carats": "carat", "Centigrams": "cg", "Drams": "dram", "Grains": "grain", "Grams": "g",
    "Hundredweights (long)": "112 lb", "Hundredweights (short)": "100 lb", "Kilograms": "kg",
    "Long tons": "longton", "Metric tons": "tonne", "Micrograms": "microgram", "Milligrams": "mg",
    "Nanograms": "ng", "Ounces": "oz", "Pennyweights": "pennyweight", "Pounds": "lb",
    "Quintals": "quintal", "Scruples": "scruple", "Short tons": "shortton", "Slugs": "slug",
    "Stones": "stone", "Troy ounces": "troyounce", "Troy pounds": "troypound",
}


def main():
    problems = 0
    checked = 0
    for path in sorted(glob.glob(os.path.join(DATA, "*.txt"))):
        category = os.path.basename(path)[: -len(".txt")]
        if category in ("conversion", "help", "CMakeLists"):
            continue
        with open(path, encoding="cp1252", newline="") as file:
            lines = file.read().split("\r\n")[:-1]
        for line in lines:
            name, factor = line[1:].split('",')
            checked += 1
            expression = EXPRESSIONS.get(name)
            if expression is None or category not in DEFAULT:
                print(f"{category}: {name}: no GNU units expression")
                problems += 1
                continue
            out = subprocess.run(["units", "--one-line", "--terse", "--digits", "15",
                                  expression, DEFAULT[category]],
                                 capture_output=True, text=True)
            try:
                theirs = Decimal(out.stdout.strip())
            except ArithmeticError:
                print(f"{category}: {name}: units says {out.stdout.strip()!r}")
                problems += 1
                continue
            ours = Decimal(factor)
            if abs(theirs - ours) > Decimal("1E-14") * ours:
                print(f"{category}: {name}: {factor} in data/, {theirs} by GNU units")
                problems += 1
    print(f"{checked} units checked, {problems} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
