// Offline play: the service worker keeps the page's files once the page has been visited, and a
// later visit without a network plays from them.
import { state } from './page-state.js';

export function keepForOffline() {
  if (!('serviceWorker' in navigator)) {
    state.offline = 'unavailable';
    return;
  }
  navigator.serviceWorker.register('service-worker.js').catch(error => {
    state.offline = 'failed';
    console.warn(`Quorvantile: the page cannot be kept for offline play (${error.message}).`);
  });
  // Ready once a worker of this page is active, which it becomes only with every file kept.
  navigator.serviceWorker.ready.then(() => { state.offline = 'ready'; });
}
