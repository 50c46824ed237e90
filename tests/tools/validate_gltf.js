// Validates a .gltf file and its external resources with the Khronos validator; prints the
// report's numbers of errors, warnings and the resources it read, one a line, then the messages.
// Usage: node validate_gltf.js VALIDATOR_MODULE_DIR FILE.gltf
const fs = require('fs');
const path = require('path');
const validator = require(process.argv[2]);
const file = process.argv[3];
const folder = path.dirname(file);
validator
    .validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        externalResourceFunction: (uri) => new Promise((resolve, reject) => {
            fs.readFile(path.join(folder, decodeURIComponent(uri)),
                        (err, data) => err ? reject(err.toString()) : resolve(new Uint8Array(data)));
        }),
    })
    .then((report) => {
        console.log('errors ' + report.issues.numErrors);
        console.log('warnings ' + report.issues.numWarnings);
        for (const r of report.info.resources || []) console.log('resource ' + (r.uri || r.pointer));
        for (const m of report.issues.messages) console.log(m.severity + ' ' + m.code + ' ' + m.message + ' ' + (m.pointer || ''));
    })
    .catch((error) => {
        console.log('failed ' + error);
        process.exit(1);
    });
