#!/usr/bin/env node
// Writes the reference table of colour differences that tests/colour/ColourDifferenceTest.cpp
// reads: pairs of colours and the CIEDE2000, deltaEOK and CIE76 that colour.js gives for them.
//
//   npm install --prefix /tmp/colorjs colorjs.io@0.5.2
//   node scripts/colour-difference-table.mjs /tmp/colorjs/node_modules/colorjs.io \
//     > tests/data/colour-differences.tsv
//
// The pairs are fixed: a few by hand (greys, near-equal colours, opposite hues, colours outside
// sRGB), then 8-bit sRGB pairs from a seeded generator.
import { createRequire } from "node:module";
import path from "node:path";

const require = createRequire(import.meta.url);
const loaded = require(path.resolve(process.argv[2] ?? "node_modules/colorjs.io", "dist/color.cjs"));
const Color = loaded.default ?? loaded;

const chosen = [
  ["#ff0000", "#00ff00"], ["#000000", "#ffffff"], ["#808080", "#808080"], ["#777777", "#767676"],
  ["#336699", "#336698"], ["#0000ff", "#ffff00"], ["#ff00ff", "#00ffff"], ["#123456", "#654321"],
  ["oklch(0.7 0.1 200)", "oklch(0.7 0.1 20)"], ["color(display-p3 1 0 0)", "#ff0000"],
  ["lab(50 20 -30)", "lab(55 -20 31)"], ["lch(60 40 350)", "lch(60 40 10)"],
  ["oklab(0.5 0.1 -0.1)", "oklab(0.52 0.09 -0.1)"], ["color(rec2020 0 1 0)", "color(display-p3 0 1 0)"],
  ["hsl(200 50% 40%)", "hwb(200 20% 40%)"], ["color(xyz-d65 0.3 0.4 0.5)", "color(xyz-d50 0.3 0.4 0.5)"],
];

// mulberry32: a small seeded generator, so the table is the same on every run.
function generator(seed) {
  return () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = generator(20091222);
const hex = () => "#" + [0, 1, 2].map(() => Math.floor(random() * 256).toString(16).padStart(2, "0")).join("");
const pairs = [...chosen];
for (let i = 0; i < 200; ++i) pairs.push([hex(), hex()]);

const number = (v) => v.toPrecision(15);
console.log("# colour.js " + (Color.version ?? "0.5.2") + ": a, b, deltaE2000, deltaEOK, deltaE76");
for (const [a, b] of pairs) {
  const ca = new Color(a), cb = new Color(b);
  console.log([a, b, number(ca.deltaE2000(cb)), number(ca.deltaEOK(cb)), number(ca.deltaE76(cb))].join("\t"));
}
