#!/usr/bin/env python3
"""Writes a realistic history data file: GBK text, CR LF line ends, records
of all 366 days in day order, each "##" key title line followed by a body
of several lines.

usage: generate_history_data.py OUTPUT SIZE_MB [SEED]

The Chinese text is made from common characters in UTF-8 and converted to
GBK once, through iconv; records are then assembled from those GBK pieces.
"""
import random
import subprocess
import sys

COMMON = (
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动"
    "同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二"
    "理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社"
    "义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没"
    "结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活"
    "设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放"
    "决西被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金增争"
    "济阶油思术极交受联什认六共权收证改清美再采转更单风切打白教速花带安场身车例真务具万"
    "每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集温传土许步群广石记"
    "需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技"
    "备半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候"
    "毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细"
    "引听该铁价严龙飞皇帝朝城战役条约签订会议成立发表宣言颁布革命起义诞生逝世发明发现")
PUNCT = "，。；、"


def utf8_pool(rng):
    """Sentences, title phrases: plain Unicode, one per line."""
    sentences = []
    for _ in range(3000):
        n = rng.randint(12, 60)
        s = "".join(rng.choice(COMMON) for _ in range(n))
        cut = sorted(rng.sample(range(1, n), min(3, n - 1)))
        parts, last = [], 0
        for c in cut:
            parts.append(s[last:c])
            last = c
        parts.append(s[last:])
        sentences.append(rng.choice(PUNCT[:1]).join(parts) + "。")
    titles = []
    for _ in range(3000):
        titles.append("".join(rng.choice(COMMON) for _ in range(rng.randint(6, 28))))
    return sentences, titles


def to_gbk(lines):
    text = "\n".join(lines).encode("utf-8")
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "GBK"], input=text,
                         capture_output=True, check=True).stdout
    return out.split(b"\n")


def days():
    lengths = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    for month, n in enumerate(lengths, start=1):
        for day in range(1, n + 1):
            yield month, day


def main():
    output, size_mb = sys.argv[1], float(sys.argv[2])
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 2007)
    sentences, titles = utf8_pool(rng)
    sentences, titles = to_gbk(sentences), to_gbk(titles)
    target = int(size_mb * 1024 * 1024)
    per_day = target // 366
    year_word, heading = to_gbk(["年", "历史上的今天"])
    with open(output, "wb", buffering=8 << 20) as out:
        out.write(heading + b"\r\n")
        written = 0
        for month, day in days():
            day_end = written + per_day
            while written < day_end:
                year = rng.randint(1, 2007)
                key = year * 10000 + month * 100 + day
                head = b"##%d %d%s%s\r\n" % (key, year, year_word, rng.choice(titles))
                body = []
                for _ in range(rng.randint(2, 12)):
                    line = b"".join(rng.choices(sentences, k=rng.randint(1, 4)))
                    body.append(b"\xa1\xa1\xa1\xa1" + line)  # two ideographic spaces
                record = head + b"\r\n".join(body) + b"\r\n\r\n"
                out.write(record)
                written += len(record)


if __name__ == "__main__":
    main()
