// The high and low waters of a station by the reference predictor
// (@neaps/tide-predictor, as package-lock.json pins it) over a span.
// Usage: node reference.js STATION_DIR ID START_ISO END_ISO > events.json
// Heights above the station's chart datum: the constituents sum about mean
// sea level, offset by MSL less the chart datum (a subordinate station by
// its reference's, then its own offsets).
const fs = require("fs");
const path = require("path");

async function main() {
  const { createTidePredictor } = await import("@neaps/tide-predictor");
  const [dir, id, start, end] = process.argv.slice(2);
  const load = (sid) =>
    JSON.parse(fs.readFileSync(path.join(dir, sid.replace("/", "_") + ".json"), "utf8"));
  const station = load(id);
  const ref = station.type === "subordinate" ? load(station.offsets.reference) : station;
  const d = ref.datums || {};
  const offset = d.MSL !== undefined && d[ref.chart_datum] !== undefined ? d.MSL - d[ref.chart_datum] : 0;
  // DROP: constituents left out (a comma-separated list)
  const drop = new Set((process.env.DROP || "").split(",").filter(Boolean));
  const constituents = ref.harmonic_constituents.filter((c) => !drop.has(c.name.toUpperCase()));
  const predictor = createTidePredictor(constituents, { offset });
  const options = { start: new Date(start), end: new Date(end) };
  if (station.type === "subordinate") options.offsets = station.offsets;
  const events = predictor.getExtremesPrediction(options).map((e) => ({
    high: e.high,
    jd: e.time.getTime() / 86400000 + 2440587.5,
    height: e.level,
  }));
  process.stdout.write(JSON.stringify(events) + "\n");
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
