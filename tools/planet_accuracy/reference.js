// reference.js: heliocentric positions of Jupiter and Saturn from a modern
// ephemeris (the npm package astronomy-engine), mean ecliptic and equinox of
// date, on the first of every month 1900-2100 at 0h UT.
//
// Output on stdout, one line per instant and planet (tab separated):
//   jd  code  longitude(deg)  latitude(deg)  radius(AU)
// with code 5 for Jupiter and 6 for Saturn, as Planet_Position numbers them.
//
// Notes:
//  1) The Julian day is taken as UT, as the almanac takes it; the package
//     converts it to TT with its own Delta T.
//  2) Mean equinox of date: the true ecliptic of date minus the nutation in
//     longitude (the latitude differs by far less than 0.0001 degree).
'use strict';
const Astronomy = require('astronomy-engine');

const BODIES = [[5, Astronomy.Body.Jupiter], [6, Astronomy.Body.Saturn]];
const JD_J2000 = 2451545.0;

const lines = [];
for (let year = 1900; year <= 2100; year++) {
  for (let month = 0; month < 12; month++) {
    const jd = Date.UTC(year, month, 1) / 86400000 + 2440587.5;
    const time = new Astronomy.AstroTime(jd - JD_J2000);
    const rot = Astronomy.Rotation_EQJ_ECT(time);
    const dpsi = Astronomy.e_tilt(time).dpsi / 3600;  // degrees
    for (const [code, body] of BODIES) {
      const v = Astronomy.RotateVector(rot, Astronomy.HelioVector(body, time));
      const s = Astronomy.SphereFromVector(v);
      let lon = s.lon - dpsi;
      if (lon < 0) lon += 360;
      if (lon >= 360) lon -= 360;
      lines.push([jd.toFixed(1), code, lon.toFixed(7), s.lat.toFixed(7),
                  s.dist.toFixed(8)].join('\t'));
    }
  }
}
process.stdout.write(lines.join('\n') + '\n');
