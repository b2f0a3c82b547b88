"""Loading and composing the birthday notes.

The notes are not written one by one: each is assembled from sentence
fragments kept under data/natal_notes/, chosen by the day's sun sign and
decan, its day number, the day number's reduced digit, the month and the
season, plus the few things that belong to one day only (epithet, maxim,
famous people).  Every paragraph mixes at least two of these systems so that
neighbouring days read differently and no paragraph is shared by many days.

This module is shared by generate.py, check.py and report.py.
"""

import json
import os

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
DATA = os.path.join(ROOT, "data", "natal_notes")
TABLE = os.path.join(DATA, "natal_notes.tsv")

MONTH_DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
HEADINGS = ["幸运数字和守护星", "健康", "建议", "名人", "塔罗牌", "静思语", "优点", "缺点"]
CN_DIGITS = "零一二三四五六七八九"
INDENT = "\u3000\u3000"
CRLF = "\r\n"


def all_keys():
    """The 366 keys month*100+day in calendar order, 29 February included."""
    return [m * 100 + d for m in range(1, 13) for d in range(1, MONTH_DAYS[m - 1] + 1)]


def load_json(name):
    with open(os.path.join(DATA, name), encoding="utf-8") as f:
        return json.load(f)


def load_tsv(name, fields):
    """Rows of a hand-edited TSV file: '#' comments and blank lines skipped."""
    rows = []
    with open(os.path.join(DATA, name), encoding="utf-8", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n").rstrip("\r")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != fields:
                raise ValueError(f"{name}:{number}: expected {fields} fields, found {len(parts)}")
            rows.append([p.strip() for p in parts])
    return rows


def reduce_digit(n):
    while n > 9:
        n = sum(int(c) for c in str(n))
    return n


def tarot_number(day):
    if day <= 21:
        return day
    if day == 22:
        return 0
    return sum(int(c) for c in str(day))


def in_span(key, first, last):
    if first <= last:
        return first <= key <= last
    return key >= first or key <= last  # span across the new year


def day_of_sign(key, first):
    """Zero-based position of the day inside its sign, counted in a leap year."""
    keys = all_keys()
    i, j = keys.index(key), keys.index(first)
    return (i - j) % len(keys)


class Data:
    def __init__(self):
        self.signs = load_json("signs.json")["signs"]
        self.decans = load_json("decans.json")["decans"]
        self.days = load_json("days.json")["days"]
        self.digits = load_json("digits.json")["digits"]
        seasons = load_json("seasons.json")
        self.seasons = seasons["seasons"]
        self.months = seasons["months"]
        self.cards = {c["number"]: c for c in load_json("tarot.json")["cards"]}
        self.epithets = {int(k): e for k, e in load_tsv("epithets.tsv", 2)}
        self.maxims = {int(k): (t, s, g) for k, t, s, g in load_tsv("maxims.tsv", 4)}
        self.extra = {int(k): t for k, t in load_tsv("extra.tsv", 2)}
        self.people = {}
        for key, name, year, known, source in load_tsv("people.tsv", 5):
            self.people.setdefault(int(key), []).append((name, int(year), known, source))

    def sign_of(self, key):
        for sign in self.signs:
            if in_span(key, sign["first"], sign["last"]):
                return sign
        raise ValueError(f"no sign for {key}")

    def season_of(self, month):
        for name, season in self.seasons.items():
            if month in season["months"]:
                return name, season
        raise ValueError(f"no season for month {month}")


def cn_number(n):
    """Chinese numeral for 0..99 as used in running text."""
    if n < 10:
        return CN_DIGITS[n]
    tens, ones = divmod(n, 10)
    head = "十" if tens == 1 else CN_DIGITS[tens] + "十"
    return head + (CN_DIGITS[ones] if ones else "")


def digit_walk(day):
    """'2加9得11，1加1得2' style explanation of the reduction, or ''."""
    steps = []
    n = day
    while n > 9:
        parts = [c for c in str(n)]
        n = sum(int(c) for c in parts)
        steps.append("加".join(parts) + "得" + str(n))
    return "，".join(steps)


def compose(data, index, key):
    """Title and text of one entry."""
    month, day = divmod(key, 100)
    sign = data.sign_of(key)
    position = day_of_sign(key, sign["first"])
    decan_no = min(position // 10, 2)
    decan = data.decans[sign["name"]][decan_no]
    dayset = data.days[str(day)]
    digit = reduce_digit(day)
    dig = data.digits[str(digit)]
    season_name, season = data.season_of(month)
    monthset = data.months[str(month)]
    epithet = data.epithets[key]
    card_no = tarot_number(day)
    card = data.cards[card_no]
    date = f"{month}月{day}日"

    portrait = []
    portrait.append(f"{date}出生的人，太阳落在{sign['name']}的第{CN_DIGITS[decan_no + 1]}旬。"
                    + sign["core"][index % 3] + sign["core"][(index + 1) % 3] + decan["core"])
    if day < 10:
        numerology = dig["core"].replace("数字", "日数", 1)
    else:
        numerology = f"把{day}的各位数字相加，最后得到{cn_number(digit)}，" + dig["core"]
    portrait.append(dayset["core"] + numerology + monthset["flavour"])
    portrait.append(sign["love"][index % 2] + decan["love"] + dayset["love"] + dig["love"])
    portrait.append(sign["family"] + dayset["social"])
    portrait.append(sign["work"][(index + 1) % 2] + decan["work"] + dayset["work"] + sign["money"])
    portrait.append(sign["life"] + dig["path"] + decan["leisure"] + monthset["closing"])
    portrait.append(season["work"] + epithet_sentence(index, date, epithet) + season["closing"]
                    + data.extra.get(key, ""))

    sections = []
    walk = digit_walk(day)
    if walk:
        derive = f"你生于{day}日，{walk}，所以你的幸运数字是{digit}，守护星是{dig['planet']}。"
    else:
        derive = f"你生于{day}日，幸运数字就是{digit}，守护星是{dig['planet']}。"
    if sign["ruler"] == dig["planet"]:
        pair = (f"你的太阳星座{sign['name']}恰好也由{sign['ruler']}守护，"
                f"两重守护落在同一颗星上，它的特质在你身上格外鲜明。")
    else:
        pair = (f"你的太阳星座{sign['name']}由{sign['ruler']}守护，"
                f"{sign['ruler']}与{dig['planet']}一同作用，前者定下你的底色，后者决定你出手的方式。")
    sections.append([derive + dig["meaning"] + pair + dig["lucky"]])
    sections.append([sign["health"] + decan["health"] + dayset["health"] + dig["health"]
                     + season["health"]])
    sections.append([dayset["advice"] + sign["advice"][(index // 2) % 2] + dig["advice"]
                     + season["advice"]])
    sections.append([f"{name}，生于{year}年，{known}。" for name, year, known, _ in data.people[key]])
    if day <= 21:
        how = f"你生于{day}日，对应第{cn_number(card_no)}号牌"
    elif day == 22:
        how = "你生于22日，二十二张大阿卡纳转完一圈，回到编号为零的第一张牌"
    else:
        how = f"你生于{day}日，{str(day)[0]}加{str(day)[1]}得{card_no}，对应第{cn_number(card_no)}号牌"
    sections.append([how + f"“{card['name']}”。" + card["meaning"] + card["advice"] + sign["tarot"]])
    maxim, source, reading = data.maxims[key]
    sections.append([f"“{maxim}”——{source}", reading])
    sections.append([sign["strength"] + decan["strength"] + dayset["strength"] + dig["strength"]])
    sections.append([sign["weakness"] + decan["weakness"] + dayset["weakness"] + dig["weakness"]])

    lines = [INDENT + p for p in portrait]
    for heading, paragraphs in zip(HEADINGS, sections):
        lines.append("")
        lines.append(heading)
        lines.extend(INDENT + p for p in paragraphs)
    return date + epithet, CRLF.join(lines) + CRLF


def epithet_sentence(index, date, epithet):
    forms = [
        "若用一个称号概括{d}出生的人，那便是“{e}”。",
        "我们把{d}出生的人称作“{e}”。",
        "“{e}”，正是{d}这一天的写照。",
        "{d}的称号是“{e}”，这几个字里藏着他们的性情。",
    ]
    return forms[index % len(forms)].format(d=date, e=epithet)


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\r", "\\r").replace("\n", "\\n"))


def unescape(field):
    out, i = [], 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            nxt = field[i + 1]
            out.append({"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}.get(nxt, "\\" + nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


HEADER = [
    "# Birthday notes: one entry per calendar day (366, 29 February included), in calendar order.",
    "# Fields: key (month*100+day) TAB title TAB text; text escapes \\\\ \\t \\r \\n, line ends CR LF.",
    "# Generated from the sources in data/natal_notes/; do not edit by hand. Regenerate with:",
    "#   python3 tools/natal_notes/generate.py",
]


def render_table(data):
    lines = list(HEADER)
    for index, key in enumerate(all_keys()):
        title, text = compose(data, index, key)
        lines.append(f"{key}\t{escape(title)}\t{escape(text)}")
    return "\n".join(lines) + "\n"


def read_table(path=TABLE):
    """(key, title, text) rows of a table source file."""
    rows = []
    with open(path, encoding="utf-8", newline="") as f:
        for line in f.read().split("\n"):
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 3:
                raise ValueError(f"row with {len(fields)} fields: {line[:40]}")
            rows.append((int(fields[0]), unescape(fields[1]), unescape(fields[2])))
    return rows


def utf16_units(text):
    return len(text.encode("utf-16-le")) // 2
