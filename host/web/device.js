// The handheld's screen, drawn from the published device state at its real
// pixel size: the task bar with the title-bar OK, every open dialog with its
// windows where the layout puts them, the painted display list, the
// soft-key bar, the open pop-up menu and the message box. Every text from a
// plug-in goes in as text (textContent, value), never as markup; the HTML
// viewer's document goes to a sandboxed frame (viewer.js).

import { viewerDocument, makeViewerFrame } from './viewer.js';

const ICONS = { error: '✖', information: 'ℹ', question: '?', warning: '!' };
const KEYS = { Enter: 'enter', ArrowLeft: 'left', ArrowRight: 'right', ArrowUp: 'up', ArrowDown: 'down' };

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

function place(e, left, top, width, height) {
  e.style.left = left + 'px';
  e.style.top = top + 'px';
  e.style.width = width + 'px';
  e.style.height = height + 'px';
}

export class Device {
  constructor(screen, send) {
    this.screen = screen;
    this.send = send;
    this.frames = new Map(); // hwnd -> {frame, source}
    this.layer = element('div');
    this.frameLayer = element('div');
    this.openSubmenu = '';
    this.state = null;
    screen.append(this.layer, this.frameLayer);
    document.addEventListener('keydown', (e) => {
      if (e.key === 'Escape' && this.state && this.state.device && this.state.device.menu) {
        this.send({ action: 'escape' });
      }
    });
  }

  render(state) {
    this.state = state;
    const sc = state.screen;
    this.scale = sc.scale;
    this.screen.style.width = sc.width + 'px';
    this.screen.style.height = sc.height + 'px';
    this.screen.style.fontSize = 12 * sc.scale + 'px';

    const kept = this.keepFocus();
    this.layer.replaceChildren();
    const dev = state.device;
    const dialogs = dev ? dev.dialogs : [];
    const top = dialogs[0];

    const bar = element('div', 'taskbar');
    place(bar, 0, 0, sc.width, sc.taskBar);
    bar.append(element('span', 'start', '⊞'), element('span', 'title', top ? top.title : 'Lumeno'));
    if (top && top.okButton) {
      const ok = element('button', 'title-ok', 'ok');
      ok.type = 'button';
      ok.dataset.testid = 'title-ok';
      ok.addEventListener('click', () => this.send({ action: 'ok' }));
      bar.append(ok);
    }
    this.layer.append(bar);

    if (!dialogs.length) {
      const home = element('div', 'home');
      place(home, 0, sc.taskBar, sc.width, sc.height - sc.taskBar - sc.menuBar);
      home.append(element('div', '', state.mode === 'page' ? '…' : 'Lumeno'),
                  element('div', '', state.mode === 'page' ? '' : state.today));
      this.layer.append(home);
    }

    const seenFrames = new Set();
    for (let depth = 0; depth < dialogs.length; depth++) {
      const d = dialogs[dialogs.length - 1 - depth];
      this.renderDialog(d, 10 + 2 * depth, d === top, seenFrames);
    }
    for (const [hwnd, entry] of this.frames) {
      if (!seenFrames.has(hwnd)) { entry.frame.remove(); this.frames.delete(hwnd); }
    }

    this.renderSoftKeys(top, sc);
    if (dev && dev.menu) this.renderMenu(dev.menu, top, sc); else this.openSubmenu = '';
    if (dev && dev.messageBox) this.renderMessageBox(dev.messageBox, sc);
    this.restoreFocus(kept);
  }

  keepFocus() {
    const active = document.activeElement;
    if (!active || !this.layer.contains(active) || !active.dataset.hwnd) return null;
    const kept = { hwnd: active.dataset.hwnd };
    if ('value' in active && active.tagName !== 'SELECT' && active.tagName !== 'BUTTON') {
      kept.value = active.value;
      kept.dirty = active.value !== active.dataset.serverText;
      kept.start = active.selectionStart;
      kept.end = active.selectionEnd;
    }
    return kept;
  }

  restoreFocus(kept) {
    if (!kept) return;
    const e = this.layer.querySelector('[data-hwnd="' + CSS.escape(kept.hwnd) + '"]');
    if (!e || e.disabled) return;
    if (kept.dirty && 'value' in e) e.value = kept.value;
    e.focus();
    if (kept.start !== undefined && e.setSelectionRange) {
      try { e.setSelectionRange(kept.start, kept.end); } catch (_) { /* not a text field */ }
    }
  }

  renderDialog(d, z, topmost, seenFrames) {
    const [l, t, r, b] = d.rect;
    const [, , cw, ch] = d.client;
    const box = element('div', 'dialog');
    place(box, l, t, r - l, b - t);
    box.style.zIndex = String(z);
    if (!topmost) box.classList.add('inactive');
    /* A dialog with a frame: the client area sits inside its border, below
    ** its caption. */
    const ox = Math.max(0, Math.floor((r - l - cw) / 2));
    const oy = Math.max(0, b - t - ch - ox);
    if (ox || oy) box.classList.add('framed');
    const client = element('div', 'client');
    place(client, ox, oy, cw, ch);
    box.append(client);
    if (d.paint && d.paint.length) client.append(this.paintCanvas(d.paint, cw, ch));
    for (const w of d.windows) {
      if (!w.visible) continue;
      if (w.class === 'DISPLAYCLASS') {
        seenFrames.add(w.hwnd);
        this.placeViewer(w, l + ox, t + oy, z + 1);
        continue;
      }
      const e = this.control(w, topmost);
      if (!e) continue;
      const [wl, wt, wr, wb] = w.rect;
      place(e, wl, wt, wr - wl, wb - wt);
      e.classList.add('win');
      e.dataset.hwnd = String(w.hwnd);
      e.dataset.id = String(w.id);
      if (!w.enabled && 'disabled' in e) e.disabled = true;
      client.append(e);
    }
    this.layer.append(box);
  }

  placeViewer(w, originX, originY, z) {
    let entry = this.frames.get(w.hwnd);
    if (!entry) {
      entry = { frame: makeViewerFrame(), source: null };
      entry.frame.dataset.hwnd = String(w.hwnd);
      this.frames.set(w.hwnd, entry);
      this.frameLayer.append(entry.frame);
    }
    const [wl, wt, wr, wb] = w.rect;
    place(entry.frame, originX + wl, originY + wt, wr - wl, wb - wt);
    entry.frame.style.zIndex = String(z);
    const source = w.html || '';
    if (entry.source !== source || entry.scale !== this.scale) {
      entry.source = source;
      entry.scale = this.scale;
      entry.frame.srcdoc = viewerDocument(source, this.scale);
    }
  }

  paintCanvas(ops, width, height) {
    const canvas = element('canvas', 'paint');
    canvas.width = width;
    canvas.height = height;
    const g = canvas.getContext('2d');
    g.textBaseline = 'middle';
    g.font = 12 * this.scale + 'px Tahoma, "Noto Sans CJK SC", sans-serif';
    for (const op of ops) {
      const [l, t, r, b] = op.rect;
      if (op.op === 'rectangle' || op.op === 'fill') {
        g.fillStyle = op.fill;
        g.fillRect(l, t, r - l, b - t);
        if (op.op === 'rectangle') {
          g.strokeStyle = op.outline;
          g.lineWidth = 1;
          g.strokeRect(l + 0.5, t + 0.5, r - l - 1, b - t - 1);
        }
      } else if (op.op === 'text') {
        g.fillStyle = op.color;
        const centred = (op.format & 1) !== 0, right = (op.format & 2) !== 0;
        g.textAlign = centred ? 'center' : right ? 'right' : 'left';
        const x = centred ? (l + r) / 2 : right ? r : l;
        const y = (op.format & 4) !== 0 ? (t + b) / 2 : t + 6 * this.scale;
        g.save();
        g.beginPath();
        g.rect(l, t, r - l, b - t);
        g.clip();
        g.fillText(op.text, x, y);
        g.restore();
      }
    }
    return canvas;
  }

  control(w, topmost) {
    const send = this.send;
    switch (w.class) {
      case 'STATIC': {
        const e = element('div', 'static', w.text);
        e.style.textAlign = w.align || 'left';
        return e;
      }
      case 'BUTTON': {
        const e = element('button', 'button', w.text);
        e.type = 'button';
        e.addEventListener('click', () => send({ action: 'click', id: w.id }));
        return e;
      }
      case 'EDIT': return this.editField(w, w.multiLine ? 'textarea' : 'input', 'edit');
      case 'LISTBOX': return this.listBox(w);
      case 'COMBOBOX': return this.comboBox(w);
      case 'msctls_progress32': {
        const e = element('div', 'progress');
        const bar = element('div', 'bar');
        const [low, high] = w.range || [0, 100];
        const part = high > low ? (w.position - low) / (high - low) : 0;
        bar.style.width = Math.max(0, Math.min(1, part)) * 100 + '%';
        e.append(bar);
        e.setAttribute('role', 'progressbar');
        e.setAttribute('aria-valuenow', String(w.position));
        return e;
      }
      default:
        return topmost ? element('div', 'unknown', w.class) : null;
    }
  }

  editField(w, tag, className) {
    const e = element(tag, className);
    if (tag === 'input') e.type = 'text';
    e.value = w.text;
    e.dataset.serverText = w.text;
    e.readOnly = !!w.readOnly;
    e.spellcheck = false;
    const typed = () => {
      if (e.value === e.dataset.serverText || e.value === e.dataset.sent) return;
      e.dataset.sent = e.value;
      this.send({ action: 'type', id: w.id, text: e.value });
    };
    e.addEventListener('change', typed);
    if (tag === 'input') {
      e.addEventListener('keydown', (ev) => {
        if (ev.key !== 'Enter') return;
        ev.preventDefault();
        typed();
        this.send({ action: 'key', id: w.id, key: 'enter' });
      });
    }
    return e;
  }

  listBox(w) {
    const e = element('div', 'listbox');
    e.tabIndex = 0;
    e.setAttribute('role', 'listbox');
    const rowHeight = w.rowHeight || 14 * this.scale;
    const items = w.items || [];
    for (let i = w.topIndex || 0; i < items.length; i++) {
      const row = element('div', 'row', items[i]);
      row.style.height = rowHeight + 'px';
      row.style.lineHeight = rowHeight + 'px';
      row.dataset.index = String(i);
      row.setAttribute('role', 'option');
      if (i === w.selection) row.classList.add('selected');
      e.append(row);
    }
    e.addEventListener('click', (ev) => {
      const row = ev.target.closest('.row');
      this.send({ action: 'tap', id: w.id, index: row ? Number(row.dataset.index) : -1 });
    });
    e.addEventListener('keydown', (ev) => {
      const key = KEYS[ev.key];
      if (!key) return;
      ev.preventDefault();
      this.send({ action: 'key', id: w.id, key });
    });
    return e;
  }

  comboBox(w) {
    const e = element('div', 'combo');
    const rowHeight = Math.min(w.rect[3] - w.rect[1], 18 * this.scale);
    const select = element('select');
    select.dataset.hwnd = String(w.hwnd) + ':list';
    (w.items || []).forEach((text, i) => {
      const option = element('option', '', text);
      option.value = String(i);
      select.append(option);
    });
    select.selectedIndex = typeof w.selection === 'number' ? w.selection : -1;
    select.addEventListener('change', () => {
      this.send({ action: 'select', id: w.id, index: select.selectedIndex });
    });
    if (w.editable) {
      e.classList.add('editable');
      e.append(this.editField(w, 'input', 'combo-edit'));
    }
    e.append(select);
    e.style.maxHeight = rowHeight + 'px';
    requestAnimationFrame(() => { e.style.height = rowHeight + 'px'; });
    if (!w.enabled) select.disabled = true;
    return e;
  }

  renderSoftKeys(top, sc) {
    const bar = element('div', 'softkeys');
    place(bar, 0, sc.height - sc.menuBar, sc.width, sc.menuBar);
    const keys = top ? top.softKeys : [];
    keys.forEach((k, index) => {
      const b = element('button', 'softkey', k.hidden ? '' : k.caption + (k.popup ? ' ▴' : ''));
      b.type = 'button';
      b.dataset.index = String(index);
      b.disabled = k.hidden;
      b.addEventListener('click', () => this.send({ action: 'softkey', index }));
      bar.append(b);
    });
    this.layer.append(bar);
  }

  renderMenu(menu, top, sc) {
    const catcher = element('div', 'menu-catcher');
    catcher.addEventListener('click', () => this.send({ action: 'escape' }));
    this.layer.append(catcher);
    const keys = top ? top.softKeys : [];
    const popups = keys.map((k, i) => (k.popup ? i : -1)).filter((i) => i >= 0);
    const right = popups.length === 1 && popups[0] === 1;
    const box = this.menuBox(menu.items, '');
    box.style.bottom = sc.menuBar + 'px';
    box.style[right ? 'right' : 'left'] = '0px';
    this.layer.append(box);
  }

  menuBox(items, path) {
    const box = element('div', 'menu');
    box.setAttribute('role', 'menu');
    items.forEach((item, i) => {
      if (item.separator) { box.append(element('div', 'separator')); return; }
      const here = path + '/' + i;
      const row = element('div', 'item');
      row.setAttribute('role', 'menuitem');
      row.append(element('span', 'check', item.checked ? '✓' : ''), element('span', 'label', item.text));
      if (item.greyed) { row.classList.add('greyed'); row.setAttribute('aria-disabled', 'true'); }
      if (item.items) {
        row.append(element('span', 'arrow', '▸'));
        row.style.position = 'relative';
        if (this.openSubmenu.startsWith(here)) {
          const sub = this.menuBox(item.items, here);
          sub.style.bottom = '0px';
          sub.style.left = '40%';
          row.append(sub);
        }
      } else {
        row.dataset.command = String(item.command);
      }
      row.addEventListener('click', (ev) => {
        ev.stopPropagation();
        if (item.greyed) return;
        if (item.items) {
          this.openSubmenu = this.openSubmenu.startsWith(here) ? path : here;
          this.render(this.state);
        } else {
          this.send({ action: 'menu', command: item.command });
        }
      });
      box.append(row);
    });
    return box;
  }

  renderMessageBox(m, sc) {
    this.layer.append(element('div', 'modal-shade'));
    const box = element('div', 'msgbox');
    box.setAttribute('role', 'alertdialog');
    box.append(element('div', 'msgbox-title', m.title));
    const body = element('div', 'msgbox-body');
    if (ICONS[m.icon]) body.append(element('span', 'msgbox-icon', ICONS[m.icon]));
    body.append(element('div', 'msgbox-text', m.text.replace(/\r\n/g, '\n')));
    box.append(body);
    const buttons = element('div', 'msgbox-buttons');
    for (const answer of m.buttons) {
      const b = element('button', '', answer === 'ok' ? 'OK' : 'Cancel');
      b.type = 'button';
      b.dataset.answer = answer;
      b.addEventListener('click', () => this.send({ action: 'answer', ok: answer === 'ok' }));
      buttons.append(b);
    }
    box.append(buttons);
    box.style.top = Math.round(sc.height * 0.25) + 'px';
    this.layer.append(box);
  }
}
