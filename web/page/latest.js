// Work that only the latest request matters for: one at a time, and while one runs, only the
// last of the requests made meanwhile is kept for after it.
'use strict';

/// Runs `job(...args)` (which may return a promise) for each call, one at a time; a call made
/// while one runs waits, replacing any call already waiting.
function latestWins(job) {
  let running = false;
  let waiting = null;
  const run = (args) => {
    running = true;
    Promise.resolve()
      .then(() => job(...args))
      .catch(() => {})
      .finally(() => {
        running = false;
        if (waiting) {
          const next = waiting;
          waiting = null;
          run(next);
        }
      });
  };
  return (...args) => {
    if (running)
      waiting = args;
    else
      run(args);
  };
}
