// The calendar's side: a month to pick a date (today by default), the day
// pages found with their names and versions, and what the last page's
// showDay returned. While a page is open the calendar waits, as the
// handheld's does.

const pad = (n, width) => String(n).padStart(width, '0');
export const dateText = (d) => pad(d.year, 4) + '-' + pad(d.month, 2) + '-' + pad(d.day, 2);

export function parseDate(text) {
  const m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(text || '');
  return m ? { year: +m[1], month: +m[2], day: +m[3] } : null;
}

export class Calendar {
  constructor(openPage) {
    this.openPage = openPage;
    this.chosen = null;
    this.shown = null; // {year, month}
    this.state = null;
    const by = (id) => document.getElementById(id);
    this.el = {
      title: by('month-title'), days: by('month-days'), input: by('date-input'),
      plugins: by('plugin-list'), status: by('page-status'), result: by('last-result'),
    };
    by('prev-month').addEventListener('click', () => this.moveMonth(-1));
    by('next-month').addEventListener('click', () => this.moveMonth(1));
    by('go-today').addEventListener('click', () => this.choose(parseDate(this.state && this.state.today)));
    this.el.input.addEventListener('change', () => {
      const d = parseDate(this.el.input.value);
      if (d) this.choose(d);
    });
  }

  choose(d) {
    if (!d) return;
    this.chosen = d;
    this.shown = { year: d.year, month: d.month };
    this.renderMonth();
  }

  moveMonth(step) {
    let { year, month } = this.shown;
    month += step;
    if (month < 1) { month = 12; year -= 1; }
    if (month > 12) { month = 1; year += 1; }
    if (year < 1 || year > 9999) return;
    this.shown = { year, month };
    this.renderMonth();
  }

  render(state) {
    this.state = state;
    if (!this.chosen) this.choose(parseDate(state.today));
    const busy = state.mode !== 'calendar';
    this.el.plugins.replaceChildren();
    for (const p of state.plugins || []) {
      const li = document.createElement('li');
      const b = document.createElement('button');
      b.type = 'button';
      b.dataset.plugin = p.library;
      b.disabled = busy;
      b.textContent = p.name + ' ' + p.version + ' ';
      const lib = document.createElement('span');
      lib.className = 'library';
      lib.textContent = p.library;
      b.append(lib);
      b.addEventListener('click', () => this.openPage(p.library, this.chosen));
      li.append(b);
      this.el.plugins.append(li);
    }
    this.el.status.textContent = busy && state.page
      ? 'Page open: ' + state.page.plugin + ' for ' + state.page.date + ' (the calendar waits)'
      : '';
    const r = state.lastResult;
    this.el.result.textContent = r ? r.plugin + ' (' + r.date + ') showDay returned ' + r.showDay : '';
    this.el.result.dataset.showDay = r ? String(r.showDay) : '';
    this.renderMonth();
  }

  renderMonth() {
    if (!this.shown) return;
    const { year, month } = this.shown;
    this.el.title.textContent = year + '年' + month + '月';
    this.el.input.value = this.chosen ? dateText(this.chosen) : '';
    const first = new Date(Date.UTC(2000, month - 1, 1));
    first.setUTCFullYear(year);
    const lead = first.getUTCDay();
    const length = new Date(Date.UTC(2000, month, 0)).getUTCDate() +
      (month === 2 && isLeap(year) !== isLeap(2000) ? (isLeap(year) ? 1 : -1) : 0);
    const today = this.state && this.state.today;
    this.el.days.replaceChildren();
    let row = document.createElement('tr');
    for (let i = 0; i < lead; i++) row.append(document.createElement('td'));
    for (let day = 1; day <= length; day++) {
      const cell = document.createElement('td');
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = String(day);
      const d = { year, month, day };
      if (today === dateText(d)) b.classList.add('today');
      if (this.chosen && dateText(this.chosen) === dateText(d)) b.classList.add('chosen');
      b.addEventListener('click', () => this.choose(d));
      cell.append(b);
      row.append(cell);
      if (row.children.length === 7) { this.el.days.append(row); row = document.createElement('tr'); }
    }
    if (row.children.length) this.el.days.append(row);
  }
}

function isLeap(y) { return (y % 4 === 0 && y % 100 !== 0) || y % 400 === 0; }
