// reference.js: the reference values for the lines that values.cpp printed,
// from a modern ephemeris (the npm package astronomy-engine).
//
// Usage: node reference.js VALUES.jsonl > REFERENCE.jsonl
//
// For every "pos" and "event" line of the input one line comes out with the
// same "k", "jd"/"start", "body" (and "ev") and the reference's fields; for
// the "span" line of the new moons, the reference's own new moons over it.
// Angles in degrees, distances in AU (the Moon's in Earth radii), instants
// as Julian days (UT).
//
// What is compared with what:
//  1) Time: the almanac's Julian day is UT, and so is the reference's
//     argument; the package converts it to TT with its own Delta T. The Moon
//     and the Sun are also given with the Julian day read as TT ("lam_tt"),
//     which shows what the almanac's ignoring Delta T costs.
//  2) Frame: the almanac works in the mean ecliptic and equinox of date
//     without nutation or aberration. The reference's geometric J2000
//     vectors are rotated to the true ecliptic of date and the nutation in
//     longitude is taken off (the ecliptic itself does not nutate);
//     right ascension and declination follow with the mean obliquity of date.
//  3) Sun and planets: geometric positions at the instant (no light time,
//     no aberration), as the almanac computes them. "app" is the apparent
//     longitude (light time, aberration, nutation) for the record.
//  4) Moon: geocentric, and topocentric for the observer of the input on
//     the reference ellipsoid at sea level.
//  5) Altitude and azimuth: geometric, without refraction; the Sun from the
//     centre of the Earth, as the almanac takes it, the Moon topocentric.
//  6) Rise and set: the reference's own search for the centre of the body
//     (topocentric, apparent place, no refraction) crossing the almanac's
//     horizon altitude, in the same local-date window. "std" is the rising
//     or setting by the published convention (upper limb, standard
//     refraction) for comparison. Meridian passage: hour angle 0.
//  7) New moon: the geocentric longitude of the Moon equal to the Sun's
//     apparent longitude (the almanac subtracts the Sun's aberration, too).
//     The package's own moon-phase search uses the Sun's geometric
//     longitude; its instant comes out as "geometric".
'use strict';
const fs = require('fs');
const path = require('path');
const readline = require('readline');
const Astronomy = require('astronomy-engine');
const VERSION = JSON.parse(fs.readFileSync(
  path.join(path.dirname(require.resolve('astronomy-engine')), 'package.json'))).version;

const JD_J2000 = 2451545.0;
const EARTH_RADIUS_KM = 6378.14;  // the almanac's Moon distances are in these
const HORIZON = -0.85;  // the altitude the almanac's rise and set search targets (events/riseset.cpp)

const PLANETS = {
  mercury: Astronomy.Body.Mercury, venus: Astronomy.Body.Venus,
  mars: Astronomy.Body.Mars, jupiter: Astronomy.Body.Jupiter,
  saturn: Astronomy.Body.Saturn,
};
const BODIES = {sun: Astronomy.Body.Sun, moon: Astronomy.Body.Moon};

const fixed = (x, n) => Number(x.toFixed(n));

function timeOf(jd) {
  return new Astronomy.AstroTime(jd - JD_J2000);
}

// A frame of date: rotations and the angles that take the true ecliptic of
// date to the mean ecliptic and equator of date.
function frameOf(time) {
  const tilt = Astronomy.e_tilt(time);
  return {
    time,
    ect: Astronomy.Rotation_EQJ_ECT(time),
    eqd: Astronomy.Rotation_EQJ_EQD(time),
    dpsi: tilt.dpsi / 3600,
    mobl: tilt.mobl,
  };
}

function norm360(x) {
  x %= 360;
  return x < 0 ? x + 360 : x;
}

// Mean ecliptic and equator of date of a J2000 vector.
function meanOfDate(frame, v) {
  const s = Astronomy.SphereFromVector(Astronomy.RotateVector(frame.ect, v));
  const lam = norm360(s.lon - frame.dpsi);
  const bet = s.lat;
  const d2r = Math.PI / 180;
  const e = frame.mobl * d2r, l = lam * d2r, b = bet * d2r;
  const ra = norm360(Math.atan2(Math.sin(l) * Math.cos(b) * Math.cos(e) - Math.sin(b) * Math.sin(e),
                                Math.cos(l) * Math.cos(b)) / d2r);
  const dec = Math.asin(Math.sin(b) * Math.cos(e) + Math.cos(b) * Math.sin(e) * Math.sin(l)) / d2r;
  return {lam, bet, ra, dec, dist: s.dist};
}

// Geometric altitude and azimuth (from the south, positive west, as the
// almanac measures it) of a J2000 vector seen from the observer's place.
function horizonOf(frame, observer, v) {
  const eq = Astronomy.EquatorFromVector(Astronomy.RotateVector(frame.eqd, v));
  const hor = Astronomy.Horizon(frame.time, observer, eq.ra, eq.dec);
  let az = hor.azimuth - 180;
  if (az <= -180) az += 360;
  return {el: hor.altitude, az};
}

function sub(a, b, t) {
  return new Astronomy.Vector(a.x - b.x, a.y - b.y, a.z - b.z, t);
}

function apparentLongitude(body, time) {
  if (body === Astronomy.Body.Sun) return Astronomy.SunPosition(time).elon;
  return Astronomy.Ecliptic(Astronomy.GeoVector(body, time, true)).elon;
}

// Geometric geocentric Sun: the reverse of the Earth's heliocentric vector.
function sunVector(time) {
  const earth = Astronomy.HelioVector(Astronomy.Body.Earth, time);
  return new Astronomy.Vector(-earth.x, -earth.y, -earth.z, time);
}

// Longitude of date with the Julian day read as TT.
function longitudeTT(jd, vectorOf) {
  const time = Astronomy.AstroTime.FromTerrestrialTime(jd - JD_J2000);
  return meanOfDate(frameOf(time), vectorOf(time)).lam;
}

function positions(jd, observer) {
  const time = timeOf(jd);
  const frame = frameOf(time);
  const out = [];
  const put = (body, p, extra) => {
    const line = {k: 'pos', jd, body};
    for (const [key, value] of Object.entries(Object.assign({}, p, extra)))
      line[key] = fixed(value, 10);
    out.push(line);
  };

  const sun = sunVector(time);
  put('sun', meanOfDate(frame, sun), Object.assign(horizonOf(frame, observer, sun), {
    app: apparentLongitude(Astronomy.Body.Sun, time),
    lam_tt: longitudeTT(jd, sunVector),
  }));

  // Moon, geocentric and topocentric
  const moon = Astronomy.GeoMoon(time);
  const moonPos = meanOfDate(frame, moon);
  moonPos.dist *= Astronomy.KM_PER_AU / EARTH_RADIUS_KM;
  put('moon', moonPos, {app: apparentLongitude(Astronomy.Body.Moon, time),
                        lam_tt: longitudeTT(jd, Astronomy.GeoMoon)});
  const topo = sub(moon, Astronomy.ObserverVector(time, observer, false), time);
  const topoPos = meanOfDate(frame, topo);
  delete topoPos.dist;
  put('moontopo', topoPos, horizonOf(frame, observer, topo));

  // Planets: geometric, heliocentric minus the Earth's
  const earth = Astronomy.HelioVector(Astronomy.Body.Earth, time);
  for (const [name, body] of Object.entries(PLANETS)) {
    const helio = Astronomy.HelioVector(body, time);
    const h = meanOfDate(frame, helio);
    put(name, meanOfDate(frame, sub(helio, earth, time)),
        {hl: h.lam, hr: h.dist, app: apparentLongitude(body, time)});
  }
  return out;
}

function ut(time) {
  return time ? time.ut + JD_J2000 : null;
}

function event(line, observer) {
  const body = BODIES[line.body];
  const days = line.end - line.start;
  const start = timeOf(line.start);
  const out = {k: 'event', ev: line.ev, body: line.body, start: line.start};
  if (line.ev === 'top') {
    const e = Astronomy.SearchHourAngle(body, observer, 0, start);
    out.ref = e.time.ut + JD_J2000 < line.end ? ut(e.time) : null;
  } else {
    const dir = line.ev === 'rise' ? +1 : -1;
    out.ref = ut(Astronomy.SearchAltitude(body, observer, dir, start, days, HORIZON));
    out.std = ut(Astronomy.SearchRiseSet(body, observer, dir, start, days));
  }
  return out;
}

// Elongation of the Moon from the Sun's apparent longitude, degrees (-180, 180].
function elongation(time) {
  const moon = Astronomy.Ecliptic(Astronomy.GeoMoon(time)).elon;
  let e = (moon - Astronomy.SunPosition(time).elon) % 360;
  if (e <= -180) e += 360;
  if (e > 180) e -= 360;
  return e;
}

// New moons in [first, end), apparent and geometric (see note 7).
function newMoons(first, end) {
  const out = [];
  let time = timeOf(first - 1);
  for (;;) {
    const geometric = Astronomy.SearchMoonPhase(0, time, 40);
    if (ut(geometric) >= end + 1) break;
    const apparent = Astronomy.Search(elongation, geometric.AddDays(-0.02),
                                      geometric.AddDays(0.02), {dt_tolerance_seconds: 0.01});
    if (ut(apparent) >= first && ut(apparent) < end)
      out.push({k: 'newmoon', jd: ut(apparent), geometric: ut(geometric)});
    time = geometric.AddDays(20);
  }
  return out;
}

async function main() {
  if (process.argv.length !== 3) {
    process.stderr.write('usage: node reference.js VALUES.jsonl\n');
    process.exit(2);
  }
  const input = readline.createInterface({input: fs.createReadStream(process.argv[2])});
  let observer = null;
  const write = (o) => process.stdout.write(JSON.stringify(o) + '\n');
  for await (const text of input) {
    if (!text) continue;
    const line = JSON.parse(text);
    if (line.k === 'observer') {
      observer = new Astronomy.Observer(line.lat, line.lon, 0);
      write(Object.assign(line, {reference: 'astronomy-engine ' + VERSION}));
    } else if (line.k === 'pos') {
      if (line.body === 'sun') positions(line.jd, observer).forEach(write);
    } else if (line.k === 'event') {
      write(event(line, observer));
    } else if (line.k === 'span') {
      newMoons(line.first, line.end).forEach(write);
    }
  }
}

module.exports = {frameOf, meanOfDate, sunVector, timeOf, JD_J2000};

if (require.main === module) main();
