// The HTML viewer: documents come from data files, so they are shown in a
// frame with no permissions at all (sandbox=""), inline, under a policy
// that allows no scripts and no network, and first made inert here: no
// scripts, refreshes, links, forms, embedded objects or resource addresses
// survive, so nothing can run and nothing can take the frame anywhere.

const MAX_DOCUMENT = 256 * 1024;

const DROPPED_ELEMENTS = [
  'script', 'noscript', 'template', 'meta', 'base', 'link', 'iframe', 'frame', 'frameset',
  'object', 'embed', 'applet', 'form', 'input', 'button', 'select', 'textarea', 'video',
  'audio', 'source', 'track', 'portal', 'animate', 'set', 'animatemotion', 'animatetransform',
];
const URL_ATTRIBUTES = new Set([
  'href', 'src', 'srcset', 'action', 'formaction', 'xlink:href', 'background', 'poster', 'data',
  'ping', 'lowsrc', 'dynsrc', 'cite', 'longdesc', 'usemap', 'codebase', 'archive', 'manifest',
  'http-equiv', 'target', 'imagesrcset',
]);

const FRAME_POLICY = "default-src 'none'; style-src 'unsafe-inline'; form-action 'none'";

function inertBody(html) {
  const doc = new DOMParser().parseFromString(html.slice(0, MAX_DOCUMENT), 'text/html');
  for (const e of doc.querySelectorAll(DROPPED_ELEMENTS.join(','))) e.remove();
  for (const e of doc.body ? doc.body.querySelectorAll('*') : []) {
    for (const attribute of Array.from(e.attributes)) {
      const name = attribute.name.toLowerCase();
      const value = attribute.value.toLowerCase();
      if (name.startsWith('on') || URL_ATTRIBUTES.has(name) ||
          (name === 'style' && /url\s*\(|@import|expression/.test(value)))
        e.removeAttribute(attribute.name);
    }
  }
  return doc.body ? doc.body.innerHTML : '';
}

// The frame's whole document: our policy first, then the inert body.
export function viewerDocument(html, scale) {
  const size = 12 * scale;
  return '<!doctype html><html><head><meta charset="utf-8">' +
    '<meta http-equiv="Content-Security-Policy" content="' + FRAME_POLICY + '">' +
    '<style>body{margin:' + 2 * scale + 'px;font:' + size + 'px/1.3 Tahoma,"Noto Sans CJK SC",sans-serif;' +
    'overflow-wrap:anywhere}table{border-collapse:collapse}td{vertical-align:top}</style>' +
    '</head><body>' + inertBody(html) + '</body></html>';
}

export function makeViewerFrame() {
  const frame = document.createElement('iframe');
  frame.className = 'viewer';
  frame.setAttribute('sandbox', '');
  frame.setAttribute('referrerpolicy', 'no-referrer');
  frame.setAttribute('title', 'HTML viewer');
  return frame;
}
