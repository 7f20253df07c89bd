// Prints the largest difference between two RGBA images' channels, then how many pixels have
// a channel more than 2 apart; the files must be the same size.
// Usage: node channel_difference.mjs A B
import { readFileSync } from "node:fs";

const [a, b] = process.argv.slice(2).map((f) => readFileSync(f));
if (a.length !== b.length) {
  console.error(`sizes differ: ${a.length} and ${b.length} bytes`);
  process.exit(1);
}
let largest = 0, far = 0;
for (let i = 0; i < a.length; i += 4) {
  let pixel = 0;
  for (let k = i; k < i + 4 && k < a.length; ++k) pixel = Math.max(pixel, Math.abs(a[k] - b[k]));
  largest = Math.max(largest, pixel);
  if (pixel > 2) ++far;
}
console.log(largest, far);
