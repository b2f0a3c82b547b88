#!/usr/bin/env node
// generate.js: writes the day tables of the two almanac plug-ins as table
// sources (docs/table-source-format.md):
//
//   almanac_days.tsv       LM_almanac, every day 2003-01-01 .. 2007-12-31 (1826)
//   trad_almanac_days.tsv  LM_tradAlmanac, the days of 2005 .. 2007 except
//                          2006-12-31 and 2007-12-07 (1093)
//
// Usage: node generate.js OUTPUT_DIR
//
// The content is computed, not typed in: lunar-javascript (pinned 1.7.7)
// gives each day's almanac entry, opencc-js (pinned 1.4.2) converts the
// traditional table's texts. Engine rules used, all the engines' defaults:
//
//   - activities (宜/忌): lunar-javascript's sect 1, i.e. the month's
//     stem-branch changes on the calendar day of the month's solar term
//     (節), not at its exact moment (sect 2);
//   - spirits, fetus god, nayin, twelve-day officer, clash, sha and the
//     Pengzu taboos have no variants in the engine;
//   - script conversion: opencc-js Converter { from: 'cn', to: 'tw' }, the
//     mainland-to-Taiwan character preset (s2tw) without phrase conversion.
//
// Before writing anything the generator checks the engine against the two
// reference days below; a mismatch means the pinned engine is not the one
// these tables were built from, and nothing is written.

'use strict';

const fs = require('fs');
const path = require('path');
const { Solar } = require('lunar-javascript');
const OpenCC = require('opencc-js');

const ACTIVITY_SECT = 1;
const toTaiwan = OpenCC.Converter({ from: 'cn', to: 'tw' });

const REGENERATE = 'cd tools/almanac_data && npm ci && node generate.js ../../data/almanac' +
  ' (tools/almanac_data/check.sh compares without writing)';

// Reference days: activities exactly and both taboos of the printed
// almanac that the simplified table follows.
const REFERENCE_DAYS = [
  {
    key: 20030101,
    suitable: '纳采 订盟 祭祀 祈福 求嗣 塑绘 解除 拆卸 修造 动土 竖柱 上梁 安门 置产 开池 掘井 纳畜 安床 栽种 造畜稠 破土 移柩 立碑',
    avoid: '嫁娶 开市 出火 进人口 入殓 赴任 入宅 移徙 出行 安葬',
    pengzuTaboos: '甲不开仓财物耗散 戌不吃犬作怪上床',
  },
  {
    key: 20071231,
    suitable: '出行 沐浴 理发 补垣 塞穴',
    avoid: '入宅 安葬',
    pengzuTaboos: '己不破券二比并亡 亥不嫁娶不利新郎',
  },
];

// Days that the traditional table leaves out.
const TRAD_MISSING_KEYS = new Set([20061231, 20071207]);

function dateKey(year, month, day) {
  return (year * 100 + month) * 100 + day;
}

// Every calendar day from..to inclusive, as {year, month, day}.
function* daysBetween(fromYear, toYear) {
  const cursor = Solar.fromYmd(fromYear, 1, 1);
  for (let solar = cursor; solar.getYear() <= toYear; solar = solar.next(1)) {
    yield { year: solar.getYear(), month: solar.getMonth(), day: solar.getDay() };
  }
}

function almanacDay(year, month, day) {
  const lunar = Solar.fromYmd(year, month, day).getLunar();
  return {
    key: dateKey(year, month, day),
    suitable: lunar.getDayYi(ACTIVITY_SECT).join(' '),
    avoid: lunar.getDayJi(ACTIVITY_SECT).join(' '),
    luckySpirits: lunar.getDayJiShen().join(' '),
    unluckySpirits: lunar.getDayXiongSha().join(' '),
    // The engine splits the position in two words ("占门栖 外西南").
    fetusGod: lunar.getDayPositionTai().replace(/\s+/g, ''),
    fiveElements: lunar.getDayNaYin() + lunar.getZhiXing() + '执位',
    clash: '冲' + lunar.getDayChongShengXiao() +
      '(' + lunar.getDayChongGan() + lunar.getDayChong() + ')' +
      '煞' + lunar.getDaySha(),
    pengzuTaboos: lunar.getPengZuGan() + ' ' + lunar.getPengZuZhi(),
  };
}

const ALMANAC_FIELDS = ['suitable', 'avoid', 'luckySpirits', 'unluckySpirits',
  'fetusGod', 'fiveElements', 'clash', 'pengzuTaboos'];
const TRAD_FIELDS = ['suitable', 'avoid'];

function escapeText(text) {
  return text.replace(/[\\\t\r\n]/g, (c) =>
    ({ '\\': '\\\\', '\t': '\\t', '\r': '\\r', '\n': '\\n' })[c]);
}

function tableSource(headerLines, fields, records) {
  const lines = headerLines.map((line) => '# ' + line);
  for (const record of records) {
    lines.push([String(record.key), ...fields.map((f) => escapeText(record[f]))].join('\t'));
  }
  return lines.join('\n') + '\n';
}

function checkReferenceDays(days) {
  const byKey = new Map(days.map((d) => [d.key, d]));
  const problems = [];
  for (const ref of REFERENCE_DAYS) {
    const day = byKey.get(ref.key);
    for (const field of ['suitable', 'avoid', 'pengzuTaboos']) {
      if (!day || day[field] !== ref[field]) {
        problems.push(`${ref.key} ${field}: engine gives "${day && day[field]}", expected "${ref[field]}"`);
      }
    }
  }
  return problems;
}

function main() {
  const outDir = process.argv[2];
  if (!outDir) {
    process.stderr.write('usage: node generate.js OUTPUT_DIR\n');
    process.exit(2);
  }

  const almanacDays = [];
  for (const { year, month, day } of daysBetween(2003, 2007)) {
    almanacDays.push(almanacDay(year, month, day));
  }
  const problems = checkReferenceDays(almanacDays);
  if (problems.length > 0) {
    process.stderr.write('generate.js: the almanac engine disagrees with the reference days:\n  ' +
      problems.join('\n  ') + '\n');
    process.exit(1);
  }

  const tradDays = almanacDays
    .filter((d) => d.key >= 20050101 && !TRAD_MISSING_KEYS.has(d.key))
    .map((d) => ({ key: d.key, suitable: toTaiwan(d.suitable), avoid: toTaiwan(d.avoid) }));

  const engines = 'lunar-javascript 1.7.7 (activities: sect 1)';
  const almanacText = tableSource([
    'Almanac day table of LM_almanac: one record per day, 2003-01-01 .. 2007-12-31.',
    'Fields: dateKey, suitable, avoid, luckySpirits, unluckySpirits, fetusGod,',
    '        fiveElements, clash, pengzuTaboos.',
    `Generated from ${engines}; do not edit.`,
    `Regenerate: ${REGENERATE}`,
  ], ALMANAC_FIELDS, almanacDays);
  const tradText = tableSource([
    'Traditional-script almanac day table of LM_tradAlmanac: days of 2005 .. 2007',
    'except 2006-12-31 and 2007-12-07.',
    'Fields: dateKey, suitable, avoid.',
    `Generated from ${engines}, converted by opencc-js 1.4.2 (cn -> tw); do not edit.`,
    `Regenerate: ${REGENERATE}`,
  ], TRAD_FIELDS, tradDays);

  fs.mkdirSync(outDir, { recursive: true });
  fs.writeFileSync(path.join(outDir, 'almanac_days.tsv'), almanacText);
  fs.writeFileSync(path.join(outDir, 'trad_almanac_days.tsv'), tradText);
  process.stdout.write(`wrote ${almanacDays.length} almanac days and ` +
    `${tradDays.length} traditional almanac days to ${outDir}\n`);
}

main();
