// What the web page's benchmarks share: the median of their runs, and the
// machine's load to print beside their figures.
import fs from "node:fs";

// The median of `values`; the mean of the middle two for an even count.
export function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// The load averages over 1, 5 and 15 minutes, as /proc/loadavg has them.
export const load = () => fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ");
