// eslint's recommended rules over the page's modules, Play on a device and
// the page's tests (bash tools/lint.sh runs it).
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  // The page, its editor and Play on a device run in the browser.
  { files: ['*.js', 'play/**/*.js', 'editor/**/*.js'], ignores: ['eslint.config.js'], languageOptions: { globals: globals.browser } },
  { files: ['eslint.config.js'], languageOptions: { globals: globals.node } },
  // The tests run in node; their page.evaluate callbacks run in the page.
  { files: ['tests/**/*.js'], languageOptions: { globals: { ...globals.node, ...globals.browser } } },
];
