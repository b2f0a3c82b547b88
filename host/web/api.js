// The emulator's connection to lumeno: the published state (polled, the
// server holding each poll until the state changes) and input, sent one at a
// time, each naming the state version it was made on.

let known = { version: 0 };
const listeners = [];
let inputChain = Promise.resolve();

export function onState(listener) { listeners.push(listener); }
export function currentState() { return known; }

function accept(state) {
  if (!state || typeof state.version !== 'number' || state.version === known.version) return;
  known = state;
  for (const listener of listeners) listener(state);
}

export async function refresh() {
  const answer = await fetch('/api/state', { cache: 'no-store' });
  if (answer.ok) accept(await answer.json());
}

export async function pollForever(onError) {
  for (;;) {
    try {
      const answer = await fetch('/api/state?since=' + known.version, { cache: 'no-store' });
      if (!answer.ok) throw new Error('the host answered ' + answer.status);
      accept(await answer.json());
    } catch (e) {
      onError(e);
      await new Promise((resolve) => setTimeout(resolve, 1000));
    }
  }
}

// Queues one input; resolves to {ok, error}. Inputs go out in order, each
// after the previous one's state has arrived.
export function send(action, onError) {
  const run = async () => {
    const body = JSON.stringify(Object.assign({}, action, { version: known.version }));
    let result;
    try {
      const answer = await fetch('/api/input', {
        method: 'POST',
        headers: { 'Content-Type': 'application/json' },
        body,
        cache: 'no-store',
      });
      result = await answer.json().catch(() => ({ ok: false, error: 'the host answered ' + answer.status }));
      if (answer.status === 409 && !result.error) result.error = 'the state changed';
    } catch (e) {
      result = { ok: false, error: String(e) };
    }
    if (!result.ok && onError) onError(result.error || 'refused');
    await refresh().catch(() => {});
    return result;
  };
  inputChain = inputChain.then(run, run);
  return inputChain;
}
