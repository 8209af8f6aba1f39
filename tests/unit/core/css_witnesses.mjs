// Our CSS texts read by colorjs.io (by the editors of CSS Color 4) must give
// back their colour; our APCA figures must be apca-w3's; our named colours
// must be the ones colorjs.io knows by those names.
//   node css_witnesses.mjs NODE_MODULES TEXTS APCA NAMES
import { readFileSync } from "node:fs";
const [modules, textsFile, apcaFile, namesFile] = process.argv.slice(2);
const { default: Color } = await import(`${modules}/colorjs.io/dist/color.js`);
const { APCAcontrast, sRGBtoY } = await import(`${modules}/apca-w3/src/apca-w3.js`);
let failures = 0, texts = 0;
const fail = (what) => { if (failures++ < 20) console.log("FAIL:", what); };
const byte = (v) => Math.round(Math.min(Math.max(v, 0), 1) * 255);
for (const line of readFileSync(textsFile, "utf8").trim().split("\n")) {
  const [rgb, ...css] = line.split("\t");
  for (const text of css) {
    const back = new Color(text).to("srgb").coords.map(byte).join(" ");
    texts++;
    if (back !== rgb) fail(`${text} reads as ${back}, not ${rgb}`);
  }
}
let pairs = 0;
for (const line of readFileSync(apcaFile, "utf8").trim().split("\n")) {
  const [c, ours] = line.split("\t");
  const v = c.split(" ").map(Number);
  const lc = APCAcontrast(sRGBtoY(v.slice(0, 3)), sRGBtoY(v.slice(3)));
  const theirs = `Lc ${(Math.round(lc * 10) / 10 || 0).toFixed(1)}`;
  pairs++;
  if (theirs !== ours && Math.abs(lc - Number(ours.slice(3))) > 0.051) fail(`APCA of ${c}: ours ${ours}, apca-w3 ${lc}`);
}
let names = 0;
for (const line of readFileSync(namesFile, "utf8").trim().split("\n")) {
  const [name, ...v] = line.split(" ");
  const theirs = new Color(name).to("srgb").coords.map(byte).join(" ");
  names++;
  if (theirs !== v.join(" ")) fail(`${name} is ${theirs} for colorjs.io, ${v.join(" ")} in our table`);
}
console.log(`${failures ? "FAIL" : "ok"}: ${texts} texts read back by colorjs.io, ${pairs} APCA pairs against apca-w3, ` +
            `${names} names; ${failures} wrong`);
process.exit(failures ? 1 : 0);
