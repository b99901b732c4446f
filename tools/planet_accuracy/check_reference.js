// check_reference.js: the reference's frame against published values, before
// any measurement rests on it. Exits non-zero on a difference.
//
// Checks (instants in TT, mean ecliptic and equinox of date):
//   Sun, 1992 Oct 13.0: geometric longitude 199.9073, distance 0.997608 AU
//     (Meeus, Astronomical Algorithms, 2nd ed., example 25.b, from the full
//     VSOP87);
//   Venus, 1992 Dec 20.0: heliocentric longitude 26.1143, latitude -2.6207,
//     radius 0.724603 AU (example 32.a);
//   Moon, 1992 Apr 12.0: geocentric longitude 133.1627, latitude -3.2291,
//     distance 368409.7 km (example 47.a, from the ELP-2000/82 terms).
// The tolerances allow for the package's shorter series (a few seconds of
// arc, some 15 km for the Moon); a slip of frame or equinox is larger
// (the nutation in longitude alone reaches 17").
// A last check: right ascension and declination of the mean equator of date
// differ from the package's true equator of date by the nutation only.
'use strict';
const Astronomy = require('astronomy-engine');
const {frameOf, meanOfDate, sunVector, JD_J2000} = require('./reference.js');

let failed = 0;
function near(what, got, want, tol) {
  const ok = Math.abs(got - want) <= tol;
  if (!ok) failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}: ${got.toFixed(6)} (expected ${want}, tolerance ${tol})`);
}

function atTT(jde) {
  const time = Astronomy.AstroTime.FromTerrestrialTime(jde - JD_J2000);
  return {time, frame: frameOf(time)};
}

{
  const {time, frame} = atTT(2448908.5);
  const p = meanOfDate(frame, sunVector(time));
  near('Sun longitude', p.lam, 199.9073, 0.001);
  near('Sun distance (AU)', p.dist, 0.997608, 0.00001);
}
{
  const {time, frame} = atTT(2448976.5);
  const p = meanOfDate(frame, Astronomy.HelioVector(Astronomy.Body.Venus, time));
  near('Venus heliocentric longitude', p.lam, 26.1143, 0.001);
  near('Venus heliocentric latitude', p.bet, -2.6207, 0.001);
  near('Venus radius (AU)', p.dist, 0.724603, 0.00001);
}
{
  const {time, frame} = atTT(2448724.5);
  const p = meanOfDate(frame, Astronomy.GeoMoon(time));
  near('Moon longitude', p.lam, 133.1627, 0.003);
  near('Moon latitude', p.bet, -3.2291, 0.003);
  near('Moon distance (km)', p.dist * Astronomy.KM_PER_AU, 368409.7, 30);
}
for (const jd of [2415020.5, 2451545.0, 2488069.5]) {
  const time = new Astronomy.AstroTime(jd - JD_J2000);
  const frame = frameOf(time);
  const mean = meanOfDate(frame, sunVector(time));
  const tru = Astronomy.EquatorFromVector(Astronomy.RotateVector(frame.eqd, sunVector(time)));
  let dra = mean.ra - tru.ra * 15;
  if (dra > 180) dra -= 360;
  if (dra < -180) dra += 360;
  near(`Sun mean minus true right ascension, JD ${jd}`, dra, 0, 0.01);
  near(`Sun mean minus true declination, JD ${jd}`, mean.dec - tru.dec, 0, 0.006);
}
process.exit(failed ? 1 : 0);
