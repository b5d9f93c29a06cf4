// The page's WebAssembly core, run by Node, gives the baffle formulas' doubles to the last bit
// as korvane-layout does: the two C libraries' acos and sin differ, the program's own do not.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { test } from 'node:test';

const require = createRequire(import.meta.url);

/// A seeded generator, so that a failure can be run again.
function seeded(seed) {
  let state = seed >>> 0;
  return (lo, hi) => {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    return lo + state % (hi - lo + 1);
  };
}

test('300 layouts with baffle cuts: the page\'s formula values are the program\'s', async () => {
  const core = await require(process.env.KORVANE_CORE)();
  const pick = seeded(20261210);
  const layouts = [[['shell', '1198'], ['tube', '16'], ['pitch', '22'], ['passes', '2'],
    ['lanes', 'shift'], ['lane-spacing', '33'], ['baffle-cut', '27.2']]];
  while (layouts.length < 300) {
    const tube = pick(10, 38), pitch = tube + pick(3, 15);
    const decimals = (n) => `${n}.${pick(0, 999)}`;
    layouts.push([['shell', decimals(pick(400, 2500))], ['tube', String(tube)],
      ['pitch', String(pitch)], ['pattern', ['30', '60', '90', '45'][pick(0, 3)]],
      ['passes', ['1', '2', '4', '6', '8'][pick(0, 4)]],
      ['baffle-cut', `${decimals(pick(15, 44))},${pick(15, 45)}`]]);
  }
  let compared = 0;
  for (const options of layouts) {
    const answer = JSON.parse(core.ccall('korvane_call', 'string', ['string', 'string'],
      ['layout', JSON.stringify({ options, draw: false })]));
    let program;
    try {
      program = JSON.parse(execFileSync(process.env.KORVANE_LAYOUT,
        ['--json', ...options.map(([n, v]) => `--${n}=${v}`)],
        { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }));
    } catch {
      // A cut that misses every tube: refused by both.
      assert.ok(answer.problems.length > 0, JSON.stringify(options));
      continue;
    }
    assert.ok(answer.layout, JSON.stringify(answer.problems));
    // Compared as the JSON texts of the numbers: shortest round trip, every bit.
    assert.equal(JSON.stringify(answer.layout.baffle), JSON.stringify(program.baffle),
      options.map(([n, v]) => `--${n} ${v}`).join(' '));
    compared += [].concat(program.baffle).filter((cut) => cut.formula.fw !== null).length;
  }
  assert.ok(compared > 400, `${compared} cuts with an angle`);
});
