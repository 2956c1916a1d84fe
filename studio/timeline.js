// The lists under the picture: the timeline (one line an event, as
// keyweave play prints it), the key bytes and the sensor vectors.

const KEEP = 400;  // lines each list keeps

function append(list, text, tag) {
  const item = document.createElement(tag);
  item.textContent = text;
  list.appendChild(item);
  while (list.childNodes.length > KEEP) list.removeChild(list.firstChild);
}

export class Timeline {
  constructor(picture) {
    this.picture = picture;
    this.timeline = document.getElementById('timeline');
    this.keys = document.getElementById('key-bytes');
    this.sensors = document.getElementById('sensor-vectors');
    this.why = document.getElementById('why');
    this.lines = [];  // every line of the session, for the page's readers
  }

  clear() {
    this.lines = [];
    this.why.textContent = '';
    this.timeline.textContent = '';
    this.keys.replaceChildren();
    this.sensors.replaceChildren();
    this.picture.clearFingers();
  }

  // Events as the engine gives them ({json, text}); true when a finger changed.
  add(events) {
    let touched = false;
    const text = [];
    for (const { json, text: line } of events) {
      if (json.event === 'why') {
        // The last decision, in one line, and the binding that fired.
        this.why.textContent = json.text;
        this.why.dataset.reason = json.reason;
        if (json.reason === 'played' && json.keys) this.picture.flash(json.keys);
        continue;
      }
      this.lines.push(line);
      text.push(line);
      if (json.event === 'touch') {
        this.picture.touch(json);
        touched = true;
      } else if (json.event === 'key') {
        append(this.keys, line.trim().replace(/^\d+\s+key\s+/, `${json.time} ms  `), 'li');
      } else if (json.event === 'sensor') {
        append(this.sensors, `${json.time} ms  ${json.x} ${json.y} ${json.z}`, 'li');
      }
    }
    if (text.length) {
      this.timeline.append(text.join('\n') + '\n');
      while (this.timeline.childNodes.length > KEEP) this.timeline.removeChild(this.timeline.firstChild);
      this.timeline.scrollTop = this.timeline.scrollHeight;
    }
    return touched;
  }
}
