// Declinations from npm's geomagnetism, an implementation of the World Magnetic Model
// independent of the calculator's, to compare the two.
//   node declinations.js            the unit tests' grid at three dates, one site a line:
//                                   year month day latitude longitude declination horizontal-intensity
//   node declinations.js LAT LON    today's declination at one site
const geomagnetism = require('geomagnetism');

const args = process.argv.slice(2);
if (args.length === 2) {
  const [latitude, longitude] = args.map(Number);
  console.log(geomagnetism.model(new Date()).point([latitude, longitude]).decl.toFixed(6));
} else {
  // The model's first day, its middle and late in its last year (this package stops taking
  // dates at its own end of validity in November 2029).
  const dates = [[2025, 1, 1], [2027, 7, 2], [2029, 10, 1]];
  for (const [year, month, day] of dates) {
    const model = geomagnetism.model(new Date(Date.UTC(year, month - 1, day)));
    for (let latitude = -80; latitude <= 80; latitude += 10) {
      for (let longitude = -180; longitude <= 180; longitude += 30) {
        const point = model.point([latitude, longitude]);
        console.log(`${year} ${month} ${day} ${latitude} ${longitude} ${point.decl.toFixed(6)} ${point.h.toFixed(3)}`);
      }
    }
  }
}
