// The emulator page: the calendar and the device, both drawn from the state
// that lumeno publishes, and the input that they send back.

import { onState, pollForever, refresh, send } from './api.js';
import { Calendar } from './calendar.js';
import { Device } from './device.js';

const errorLine = document.getElementById('input-error');
const report = (message) => { errorLine.textContent = message; };
const act = (action) => { report(''); return send(action, report); };

const calendar = new Calendar((plugin, date) => act({ action: 'open', plugin, ...date }));
const device = new Device(document.getElementById('screen'), act);

onState((state) => {
  calendar.render(state);
  device.render(state);
  document.body.dataset.version = String(state.version);
  document.body.dataset.mode = state.mode;
});

refresh().catch(report).finally(() => pollForever((e) => report('lost the host: ' + e.message)));
