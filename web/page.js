// The page: reads the controls, draws with kestra (kestra-bundle.js) at every
// change, and shows the picture, or the message of a refusal with its caret.
// <body data-draws> counts the finished draws, for tests that wait on them.
'use strict';

(async function page() {
  const $ = (id) => document.getElementById(id);
  const message = $('message');
  const canvas = $('picture');
  let kestra;
  let file = null;  // {name, bytes} of a chosen or dropped file

  function show(text, kind) {
    message.textContent = text;
    message.className = kind;
  }

  function mode() {
    return document.querySelector('input[name=mode]:checked').value;
  }

  // Width, height and the captions that are filled in.
  function pictureOptions() {
    const options = {width: Number($('width').value) || 640, height: Number($('height').value) || 400};
    if ($('caption-x').value) options.captionX = $('caption-x').value;
    if ($('caption-y').value) options.captionY = $('caption-y').value;
    return options;
  }

  function readTable() {
    if (file) return kestra.readTable(file.bytes, file.name);
    const text = $('table-text').value;
    if (!text.trim()) return null;
    return kestra.readTable(text, /^\s*</.test(text) ? 'pasted.html' : 'pasted.csv');
  }

  function drawPicture() {
    if (mode() === 'plot') {
      return kestra.plot($('expression').value, {...pictureOptions(), x: $('x-span').value,
        y: $('y-span').value});
    }
    const table = readTable();
    if (!table) return null;
    const picture = kestra.diagram({...table, kind: $('kind').value, ...pictureOptions()});
    picture.warnings = [...table.warnings, ...picture.warnings];
    return picture;
  }

  function draw() {
    try {
      const picture = drawPicture();
      if (picture) {
        canvas.width = picture.width;
        canvas.height = picture.height;
        canvas.getContext('2d').putImageData(new ImageData(picture.data, picture.width, picture.height), 0, 0);
        show(picture.warnings.join('\n'), 'warning');
      } else {
        show('Paste a table or choose a file.', '');
      }
      $('download').disabled = !picture;
    } catch (error) {
      show(error.message, 'error');
      $('download').disabled = true;
    }
    document.body.dataset.draws = String(Number(document.body.dataset.draws || 0) + 1);
  }

  async function takeFile(chosen) {
    if (!chosen) return;
    file = {name: chosen.name, bytes: new Uint8Array(await chosen.arrayBuffer())};
    $('table-text').value = '';
    draw();
  }

  function download() {
    canvas.toBlob((blob) => {
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = mode() === 'plot' ? 'kestra-plot.png' : 'kestra-diagram.png';
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 0);
    }, 'image/png');
  }

  function wire() {
    const zone = $('drop-zone');
    $('controls').addEventListener('input', (event) => {
      if (event.target.id === 'table-text') file = null;
      if (event.target.id === 'table-file') return;
      $('table-input').hidden = mode() !== 'table';
      $('plot-input').hidden = mode() !== 'plot';
      draw();
    });
    $('table-file').addEventListener('change', (event) => takeFile(event.target.files[0]));
    zone.addEventListener('dragover', (event) => { event.preventDefault(); zone.classList.add('over'); });
    zone.addEventListener('dragleave', () => zone.classList.remove('over'));
    zone.addEventListener('drop', (event) => {
      event.preventDefault();
      zone.classList.remove('over');
      takeFile(event.dataTransfer.files[0]);
    });
    $('download').addEventListener('click', download);
  }

  try {
    kestra = await createKestra();
  } catch (error) {
    show('kestra could not be loaded: ' + error.message, 'error');
    return;
  }
  wire();
  draw();
})();
