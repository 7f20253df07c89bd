// Prints the largest difference between two files' bytes (two images' channels); the files
// must be the same size. Usage: node channel_difference.mjs A B
import { readFileSync } from "node:fs";

const [a, b] = process.argv.slice(2).map((f) => readFileSync(f));
if (a.length !== b.length) {
  console.error(`sizes differ: ${a.length} and ${b.length} bytes`);
  process.exit(1);
}
let largest = 0;
for (let i = 0; i < a.length; ++i) largest = Math.max(largest, Math.abs(a[i] - b[i]));
console.log(largest);
